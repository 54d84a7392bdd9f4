// Starts the program in-process (application object and the three forms, as at start-up) for
// each test, and takes it down again afterwards.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/SharedState.h"
#include "app/Startup.h"
#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "forms/Unit3.h"
#include "tests/support/RegistryFixture.h"
#include "tests/support/WinTestSupport.h"
#include "toolkit/Application.h"

namespace testing_support {

class ProgramTest : public ::testing::Test {
 protected:
  // Each test starts as a first run, unless it seeds settings and starts the program itself.
  void SetUp() override {
    DeleteSettings();
    StartProgram();
  }
  void TearDown() override {
    StopProgram();
    DeleteSettings();  // no spoiled values left for the next test
  }

  void StartProgram() {
    vindelor::ResetSharedState();
    app_ = std::make_unique<tk::Application>();
    vindelor::CreateForms(*app_);
  }
  void StopProgram() { app_.reset(); }

  // Ends the splash as a key press does: the program is then resident and armed.
  static void EndSplash() {
    char key = ' ';
    Form1->FormKeyPress(key);
  }

  static tk::Bitmap& Work() { return *vindelor::Shared().workImage; }

  std::unique_ptr<tk::Application> app_;
};

}  // namespace testing_support
