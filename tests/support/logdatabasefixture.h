#pragma once

#include "logging/logstore.h"
#include "platform/database.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// A fresh log database in a temporary folder, opened on LogConnection (the test main empties the
// in-memory log before each test).
class LogDatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    platform::CreateLogDatabase(path_);
    logging::LogConnection.Open(path_);
  }
  // The log files go with the folder; the test main closes the connection and empties the store.
  void TearDown() override { logging::LogConnection.Close(); }

  QTemporaryDir dir_;
  QString path_ = dir_.filePath(QStringLiteral("Corvane.MDB"));
};
