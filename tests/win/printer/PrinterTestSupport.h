// Shared by the printer object's tests: a fixture with the application object and a fresh
// printer object, errors as text, the harness's page files and Unix commands.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/HarnessAccess.h"
#include "toolkit/Application.h"
#include "toolkit/Printer.h"

namespace printer_test {

class PrinterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = std::make_unique<tk::Application>();
    tk::Printer::Instance().Reset();
  }
  void TearDown() override {
    tk::Printer::Instance().Reset();
    app_.reset();
  }
  static tk::Printer& ThePrinter() { return tk::Printer::Instance(); }
  // The names of the printer list, in order.
  static std::vector<std::string> Names();

  std::unique_ptr<tk::Application> app_;
};

// The text of the tk::Error the action raises; empty when it raises none.
std::string ErrorOf(const std::function<void()>& action);

using testing_support::PageFiles;
using testing_support::PagesFolder;
using testing_support::ReadWholeFile;
using testing_support::RunQueuesScript;
using testing_support::WaitForPages;

// The profile's default printer entry ("name,driver,port").
std::string DefaultDeviceEntry();

}  // namespace printer_test
