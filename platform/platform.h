// What the game asks of the machine it runs on: random draws, message boxes,
// the music device, pictures and the window's place on the screen. The game
// program answers with the real thing; the runner and the tests with
// scripted stand-ins.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kiravel {

class Image;
class MenuItem;

enum class MsgBoxButtons { OK, YesNo };
enum class MsgBoxAnswer { OK, Yes, No };

struct ScreenSize {
  std::int32_t Width = 0;   // twips
  std::int32_t Height = 0;  // twips
};

// The window's outer rectangle on the screen and its client area, in twips.
struct WindowPlace {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::int32_t ClientWidth = 0;
  std::int32_t ClientHeight = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Seeds the random generator once from the clock.
  virtual void Randomize() = 0;
  // A uniform number in [0, 1).
  virtual double Rnd() = 0;

  // A message box with the program's title as caption.
  virtual MsgBoxAnswer MsgBox(const std::string& text, MsgBoxButtons buttons) = 0;
  // Something the game could not do, told to the player: a message box with
  // the text, also noted where the front end keeps a record of failures.
  virtual void ReportFailure(const std::string& text) = 0;

  // One command string to the music device; the reply, if asked for, is
  // written into *reply (at most replyLength characters). Returns the
  // device's result code, 0 for success.
  virtual std::int32_t mciSendString(const std::string& command, std::string* reply,
                                     int replyLength) = 0;

  // Loads a picture file by its content, whatever its name ends in. Null when
  // the file is missing or holds no picture the loader can decode.
  virtual std::shared_ptr<const Image> LoadPicture(const std::string& path) = 0;

  // Shows the popup menu under root at the mouse position and waits for the
  // player's choice: the chosen item, or null when the menu was dismissed.
  virtual const MenuItem* PopupMenu(const MenuItem& root) = 0;

  virtual ScreenSize Screen() = 0;
  virtual double TwipsPerPixel() = 0;
  virtual WindowPlace Window() = 0;
  // Each returns false when the window system refuses the change (a
  // minimised or maximised window cannot be moved or sized).
  virtual bool SetWindowWidth(std::int32_t twips) = 0;
  virtual bool SetWindowLeft(std::int32_t twips) = 0;
  virtual bool SetWindowTop(std::int32_t twips) = 0;
};

}  // namespace kiravel
