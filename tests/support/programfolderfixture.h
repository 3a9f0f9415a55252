#pragma once

#include "app/form1.h"
#include "app/globals.h"
#include "platform/instances.h"
#include "platform/modulevalues.h"

#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "keptcurrentfolder.h"

// A program folder of the test's own as the program's folder; the current folder and the
// default locale are given back when the test ends.
class ProgramFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    app::ProgramDir = folder.path();
    app::ProgramDrive = "/";
  }
  void TearDown() override { QLocale::setDefault(QLocale::system()); }

  KeptCurrentFolder currentFolder;
  QTemporaryDir folder;
};

// The main window of a program started in its program folder; a test can start the program again
// in the same folder, as an operator restarts it.
class ProgramRestartTest : public ProgramFolderTest {
 protected:
  // A new start: fresh module values and a fresh main window in the program folder.
  app::Form1& NewStart() {
    platform::UnloadAll();
    platform::ResetModuleValues();
    app::ProgramDir = folder.path();
    app::ProgramDrive = "/";
    form = &platform::InstanceWithoutLoad<app::Form1>();
    return *form;
  }

  app::Form1* form = nullptr;
};
