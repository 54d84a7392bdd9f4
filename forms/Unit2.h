// The options dialog: print options, printer choice and the column of action buttons, with the
// status line along its bottom edge. Created hidden at start-up; each capture shows it. Its
// window also receives the two hotkey messages.
#pragma once

#include <windows.h>

#include "components/Nstatln/Nstatln.h"
#include "toolkit/Control.h"
#include "toolkit/Form.h"

class TForm2 final : public tk::Form {
 public:
  // Shown in the status line whenever the dialog appears (the caption gets a leading blank),
  // and as its hint (hints begin with a blank).
  static constexpr const char* kCreditLine = "Vindelor V2.0 - freeware by Osmerdane";
  static constexpr const char* kCreditHint = " Vindelor V2.0 - freeware by Osmerdane";

  TForm2();

  // Left column: the options.
  tk::GroupBox GroupBox1{*this, {8, 8, 157, 241}, "Options",
                         {.tabOrder = 5, .font = tk::FontSpec{.height = -12}}};
  tk::CheckBox CheckBox1{GroupBox1, {16, 16, 97, 17}, "Centered",
                         {.tabOrder = 1,
                          .hint = " The Image will be centered on page",
                          .checked = true}};
  tk::CheckBox CheckBox2{GroupBox1, {16, 32, 97, 17}, "Stretched",
                         {.tabOrder = 2, .hint = " Stretches the Image to fill the page"}};
  tk::CheckBox CheckBox5{GroupBox1, {16, 48, 101, 17}, "Monochrome",
                         {.tabOrder = 3, .hint = " Converts the Image to Black + White"}};
  tk::CheckBox CheckBox7{GroupBox1, {16, 64, 97, 17}, "Inverted Colors",
                         {.tabOrder = 9, .hint = " Inverses the colors of the Image"}};
  tk::CheckBox CheckBox8{GroupBox1, {16, 80, 121, 17}, "Mirrored Image",
                         {.tabOrder = 11, .hint = " Mirrors Horinzontaly the Image"}};
  tk::CheckBox CheckBox4{GroupBox1, {16, 96, 97, 17}, "Date +Time",
                         {.tabOrder = 4, .hint = " Adds the Date + Time on to the page"}};
  tk::CheckBox CheckBox9{GroupBox1, {16, 112, 113, 17}, "Copy to Clipboard",
                         {.tabOrder = 12, .hint = " Copies the Image to the Clipboard"}};
  tk::RadioButton RadioButton2{GroupBox1, {16, 132, 57, 17}, "Portrait",
                               {.tabOrder = 7, .hint = " The Page format is Portrait"}};
  tk::RadioButton RadioButton1{GroupBox1, {72, 132, 81, 17}, "Landscape",
                               {.tabOrder = 6,
                                .startsGroup = true,
                                .hint = " The Page format is Landscape",
                                .checked = true}};
  tk::ComboBox ComboBox1{GroupBox1, {16, 148, 133, 21}, "Default Printer",
                         {.tabOrder = 10, .hint = " Select a Printer", .itemHeight = 13}};
  tk::CheckBox CheckBox6{GroupBox1, {16, 172, 109, 17}, "Immediate Action",
                         {.tabOrder = 5, .hint = " Bypass Dialog and prints directly"}};
  tk::CheckBox CheckBox3{GroupBox1, {16, 188, 77, 17}, "Large Form",
                         {.tabOrder = 8, .startsGroup = true, .hint = " Make this Form larger"}};
  tk::Button Button5{GroupBox1, {28, 212, 97, 21}, "Save Options",
                     {.tabOrder = 0, .hint = " Save Options and Window position"}};

  // Right column: the actions. The buttons lie above GroupBox2, which frames them.
  tk::Button Button1{*this, {184, 24, 101, 25}, "Print",
                     {.tabOrder = 1,
                      .startsGroup = true,
                      .hint = " Prints the Image",
                      .isDefault = true}};
  tk::Button Button2{*this, {184, 56, 101, 25}, "Printer Setup",
                     {.tabOrder = 3, .hint = " Printer settings Dialog"}};
  tk::Button Button3{*this, {184, 120, 101, 25}, "BMP Viewer",
                     {.tabOrder = 4, .hint = " Starts the Default Bmp Viewer"}};
  tk::Button Button7{*this, {184, 152, 101, 25}, "Save as BMP",
                     {.tabOrder = 7, .hint = " Saves the Image as Windows Bitmap"}};
  tk::Button Button6{*this, {184, 184, 101, 25}, "Select Rectangle",
                     {.tabOrder = 6, .hint = " Select a Rectangular area on Screen"}};
  tk::Button Button4{*this, {184, 216, 101, 25}, "Cancel",
                     {.tabOrder = 2,
                      .hint = " Cancel program   ( or  press ESC )",
                      .font = tk::FontSpec{.face = "Courier New", .height = -12, .fixedPitch = true},
                      .isCancel = true}};
  tk::GroupBox GroupBox2{*this, {172, 8, 125, 241}, "", {.tabOrder = 8}};
  tk::Button Button8{GroupBox2, {12, 80, 101, 25}, "Get from Clipboard",
                     {.tabOrder = 0, .hint = " Get an Image or Picture from the Clipboard"}};

  // Along the bottom edge: text, progress and clock.
  TNStatusLine NStatusLine1{*this,
                            {.bounds = {0, 257, 305, 21},
                             .caption = kCreditLine,
                             .hint = kCreditHint,
                             .formatTime = TFormatTime::ftShort}};

  // Creation and showing.
  void FormCreate() override;
  void FormShow() override;
  void FormClose() override;

  // Print, printer setup, viewer, save, selection, clipboard, cancel, options.
  void Button1Click();
  void Button2Click();
  void Button3Click();
  void Button4Click();
  void Button5Click();
  void Button6Click();
  void Button7Click();
  void Button8Click();
  void CheckBox3Click();
  void CheckBox6Click();
  void CheckBox5MouseUp(tk::MouseButton button, tk::ShiftState shift, int x, int y);
  void CheckBox7MouseUp(tk::MouseButton button, tk::ShiftState shift, int x, int y);

  // Capture.
  void CaptureWindow();
  void CopyToClipBoard();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

extern TForm2* Form2;
