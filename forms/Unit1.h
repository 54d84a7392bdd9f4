// The credits form: the main form. It shows the splash for about five seconds after start, then
// stays hidden for the rest of the run as the owner of the tray icon, its menu and the commands.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "components/WTaskBar/WTaskBar.h"
#include "toolkit/Control.h"
#include "toolkit/Form.h"
#include "toolkit/Handles.h"
#include "toolkit/Menu.h"
#include "toolkit/Timer.h"

class TForm1 final : public tk::Form {
 public:
  TForm1();

  tk::Label Label5{*this, {24, 4, 234, 37}, "Vindelor® V2.0",
                   {.font = tk::FontSpec{.height = -32, .bold = true}}};
  tk::GroupBox GroupBox1{
      *this, {16, 44, 249, 105}, "Win95 + NT4.0",
      {.font = tk::FontSpec{.height = -13, .bold = true, .color = tk::kGreen}}};
  tk::Label Label1{GroupBox1, {56, 20, 134, 16}, "Written by",
                   {.font = tk::FontSpec{.height = -13, .bold = true, .color = tk::kRed}}};
  tk::Label Label4{GroupBox1, {60, 40, 133, 24}, "Osmerdane",
                   {.font = tk::FontSpec{.height = -19, .bold = true, .color = tk::kBlue}}};
  tk::Label Label2{GroupBox1, {44, 68, 152, 13}, "info@osmerdane.example",
                   {.font = tk::FontSpec{.height = -11}}};
  tk::Label Label3{GroupBox1, {4, 84, 239, 13}, "http://www.osmerdane.example/vindelor",
                   {.font = tk::FontSpec{.height = -11}}};

  // Ticks from the moment the form is loaded.
  tk::Timer Timer1{1000, true};

  // The tray menu.
  tk::PopupMenu PopupMenu1;
  tk::MenuItem Desktop1{PopupMenu1, "Print the Desktop", {.isDefault = true}};
  tk::MenuItem N1{PopupMenu1, "-"};
  tk::MenuItem Help{PopupMenu1, "Help"};
  tk::MenuItem Open1{PopupMenu1, "Open"};
  tk::MenuItem Remove1{PopupMenu1, "Close"};
  tk::MenuItem Suspend{PopupMenu1, "Suspend"};
  tk::MenuItem immediat{PopupMenu1, "Immediate Action"};

  // The tray icon; Loaded sets it up and shows it.
  TWinTaskbar WinTaskbar1{*this};

  // Start-up, splash and shutdown.
  void Loaded() override;
  void FormCreate() override;
  void FormDestroy() override;
  void FormKeyPress(char& key) override;
  void Timer1Timer();

  // Busy waits that keep processing messages; other forms call them on Form1.
  void Delay(std::int32_t milliseconds);
  // Until done() answers true, for at most the given time; done() is asked first, so a wait
  // that is not needed costs nothing. Returns its last answer.
  bool WaitUntil(const std::function<bool()>& done, std::int32_t milliseconds);
  void ClearKeyBuffer();

  // Tray menu commands.
  void Desktop1Click();
  void HelpClick();
  void Open1Click();
  void Remove1Click();
  void SuspendClick();
  void immediatClick();

  [[nodiscard]] std::int32_t SplashTicks() const noexcept { return splashTicks_; }

 private:
  void EndSplash();

  // Title bar texts of the splash, one per tick; slot 5 stays empty.
  std::array<std::string, 6> creditTitles_;
  std::int32_t splashTicks_ = 0;
  // The single-instance mutex, held for the whole run.
  tk::UniqueKernelHandle instanceMutex_;
};

extern TForm1* Form1;
