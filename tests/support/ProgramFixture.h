// The program in-process, as at start-up (application object and the three forms), for each test
// of the win tier, with the gestures the tests share.
#pragma once

#include <gtest/gtest.h>

#include <functional>
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

// While the program runs, waits dispatch through its own loop, with its dialog keys.
inline const bool kPumpsThroughTheProgram = [] {
  SetMessagePump([] {
    if (!tk::Application::Exists()) return false;
    tk::App().ProcessMessages();
    return true;
  });
  return true;
}();

class ProgramTest : public ::testing::Test {
 protected:
  // Each test starts as a first run, unless it seeds settings and starts the program itself.
  void SetUp() override {
    DeleteSettings();
    StartProgram();
  }
  void TearDown() override {
    StopProgram();
    DeleteSettings();
  }
  void StartProgram() {
    vindelor::ResetSharedState();
    app_ = std::make_unique<tk::Application>();
    vindelor::CreateForms(*app_);
  }
  void StopProgram() { app_.reset(); }

  static void EndSplash() {  // as a key press does: the program is then resident and armed
    char key = ' ';
    Form1->FormKeyPress(key);
  }
  static void CaptureDesktop() {  // as Print Screen does; the dialog opens
    vindelor::Shared().captureSource = vindelor::kSourceDesktop;
    Form2->CaptureWindow();
  }
  // Runs the action while message boxes are answered; "caption: text" of each box seen.
  static Strings Answered(const std::function<void()>& action) {
    DialogAnswerer answerer;
    action();
    return answerer.Texts();
  }
  static tk::Bitmap& Work() { return *vindelor::Shared().workImage; }

  std::unique_ptr<tk::Application> app_;
};

}  // namespace testing_support
