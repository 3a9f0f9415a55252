#pragma once

#include "logging/logstore.h"
#include "platform/database.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "keptcurrentfolder.h"

// A fresh log database in a temporary folder, opened on LogConnection (the test main empties the
// in-memory log before each test). The current folder, which a commit or a reload moves, is given
// back when the test ends.
class LogDatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    platform::CreateLogDatabase(path_);
    logging::LogConnection.Open(path_);
  }
  // The log files go with the folder; the test main closes the connection and empties the store.
  void TearDown() override { logging::LogConnection.Close(); }

  KeptCurrentFolder currentFolder_;
  QTemporaryDir dir_;
  QString path_ = dir_.filePath(QStringLiteral("Corvane.MDB"));
};
