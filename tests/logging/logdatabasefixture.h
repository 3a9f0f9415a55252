#pragma once

#include "logging/logstore.h"
#include "platform/database.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// A fresh log database in a temporary folder, opened on LogConnection, with an empty in-memory log.
class LogDatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    platform::CreateLogDatabase(path_);
    logging::LogConnection.Open(path_);
    ResetStore();
  }
  void TearDown() override {
    logging::LogRecordset.Close();
    logging::LogConnection.Close();
    ResetStore();
  }
  static void ResetStore() {
    logging::ClearLogStore();
    logging::LogRowCount = 0;
  }

  QTemporaryDir dir_;
  QString path_ = dir_.filePath(QStringLiteral("Corvane.MDB"));
};
