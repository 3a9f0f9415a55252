#pragma once

#include "app/form1.h"
#include "app/globals.h"
#include "platform/instances.h"
#include "platform/modulevalues.h"
#include "platform/paths.h"

#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The main window of a program started in a program folder of its own; a test can start the
// program again in the same folder, as an operator restarts it.
class ProgramFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    savedDir = platform::CurDir();
  }
  void TearDown() override {
    QLocale::setDefault(QLocale::system());
    platform::ChDir(savedDir);
  }

  // A new start: fresh module values and a fresh main window in the program folder.
  app::Form1& NewStart() {
    platform::UnloadAll();
    platform::ResetModuleValues();
    app::ProgramDir = folder.path();
    app::ProgramDrive = "/";
    form = &platform::InstanceWithoutLoad<app::Form1>();
    return *form;
  }

  QTemporaryDir folder;
  QString savedDir;
  app::Form1* form = nullptr;
};
