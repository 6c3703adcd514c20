// The window's own preferences: what the dialog sets reaches the music and
// the reading and outlives the window; the volume turns down the samples
// the sound card is fed; and the keys are listed alike on the key page, in
// --help, the README and the manual page.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QSettings>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTextBrowser>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <string>

#include "app/kiravel/command_line.h"
#include "app/kiravel/key_page.h"
#include "app/kiravel/preferences_dialog.h"
#include "app/kiravel/window_fixture.h"
#include "app/kiravel/window_keys.h"
#include "app/kiravel/window_preferences.h"
#include "platform/data_folder.h"

namespace kiravel::qt {
namespace {

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Acts on the dialog that the next exec() opens, once it is up.
void WhenUp(const std::function<void(QDialog&)>& act) {
  QTimer::singleShot(0, [act] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    act(*dialog);
  });
}

// What is chosen in the dialog is what the window reads on with, and the
// next run finds it again; the text speed is not among it.
TEST(Preferences, TheDialogsChoicesReachTheReadingAndOutliveTheWindow) {
  Window w;
  Activate(w);
  QSettings settings(QString::fromStdString(w.data.Path() + "kiravel.conf"), QSettings::IniFormat);
  {
    WindowPreferences preferences(*w.window, w.music, settings, &w.window->Reading());
    preferences.Restore({});
    EXPECT_FALSE(w.window->Reading().Pacer().AutoAdvance());
    WhenUp([](QDialog& dialog) {
      EXPECT_EQ(dialog.objectName(), "preferences");
      dialog.findChild<QCheckBox*>("autoAdvance")->setChecked(true);
      dialog.findChild<QDoubleSpinBox*>("autoBaseDelay")->setValue(2.5);
      dialog.findChild<QSpinBox*>("autoPerCharacter")->setValue(40);
      dialog.findChild<QCheckBox*>("skipUnread")->setChecked(true);
      dialog.findChild<QSlider*>("musicVolume")->setValue(30);
      dialog.accept();
    });
    QTest::keyClick(w.window.get(), Qt::Key_F2);
    const PagePacer& pacer = w.window->Reading().Pacer();
    EXPECT_TRUE(pacer.AutoAdvance());
    EXPECT_EQ(pacer.Chosen().baseDelayMs, 2500);
    EXPECT_EQ(pacer.Chosen().perCharacterMs, 40);
    EXPECT_TRUE(pacer.Chosen().skipUnread);
    EXPECT_EQ(preferences.Volume(), 30);

    // Cancelled, the dialog changes nothing.
    Activate(w);
    WhenUp([](QDialog& dialog) {
      dialog.findChild<QSlider*>("musicVolume")->setValue(90);
      dialog.reject();
    });
    QTest::keySequence(w.window.get(), QKeySequence(QStringLiteral("Ctrl+,")));
    EXPECT_EQ(preferences.Volume(), 30);
  }
  w.Start();
  WindowPreferences preferences(*w.window, w.music, settings, &w.window->Reading());
  preferences.Restore({});
  EXPECT_TRUE(w.window->Reading().Pacer().AutoAdvance());
  EXPECT_EQ(w.window->Reading().Pacer().Chosen().baseDelayMs, 2500);
  EXPECT_EQ(preferences.Volume(), 30);
  EXPECT_FALSE(settings.contains("reading/textSpeed"));
  EXPECT_EQ(settings.value("sound/volume").toInt(), 30);
}

// The samples of a piece that is never silence, 16 bits each.
std::string PieceSamples(int count, int percent) {
  std::string bytes;
  for (int i = 0; i < count; ++i) {
    const int sample = (1000 + i * 7) * percent / 100;
    bytes += static_cast<char>(sample & 0xFF);
    bytes += static_cast<char>((sample >> 8) & 0xFF);
  }
  return bytes;
}

// At 50 % the sound card is fed every sample at half its value: SDL's disk
// driver writes down what the card was fed. The piece still ends and is
// told so, as the music timer needs.
TEST(Preferences, HalfVolumeHalvesTheSamplesFed) {
  testing::DataFolder folder;
  const std::string output = folder.Path() + "sound.raw";
  ::setenv("SDL_AUDIODRIVER", "disk", 1);
  ::setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
  folder.WriteBytes(kMusicFile, kiravel::testing::MonoWave(PieceSamples(800, 100)));
  {
    MusicThread music(KIRAVEL_SOUND_MODULE_PATH);
    QWidget window;
    QSettings settings(QString::fromStdString(folder.Path() + "kiravel.conf"), QSettings::IniFormat);
    settings.setValue("sound/volume", 50);
    WindowPreferences preferences(window, music, settings);
    preferences.Restore({});
    std::promise<void> ended;
    music.OnPieceEnded([&ended] { ended.set_value(); });
    music.Start();
    music.Send("open \"" + folder.Path() + kMusicFile + "\" alias MIDI", nullptr);
    music.Send("play MIDI notify", nullptr);
    // Bounded so that a piece that never ends fails the test, not hangs it.
    ASSERT_EQ(ended.get_future().wait_for(std::chrono::seconds(20)), std::future_status::ready);
    music.OnPieceEnded(nullptr);
    music.Send("close MIDI notify", nullptr);
  }
  ::unsetenv("SDL_AUDIODRIVER");
  ::unsetenv("SDL_DISKAUDIOFILE");
  const std::string fed = Contents(output);
  EXPECT_NE(fed.find(PieceSamples(800, 50)), std::string::npos);
  EXPECT_EQ(fed.find(PieceSamples(800, 100).substr(0, 64)), std::string::npos);
}

// F1 shows every key of the table in Japanese; --help, the README and the
// manual page list the same keys in English.
TEST(WindowKeys, AreListedAlikeOnTheKeyPageInHelpTheReadmeAndTheManual) {
  Window w;
  Activate(w);
  OfferKeyPage(*w.window, &w.window->Reading());
  QString shown;
  WhenUp([&shown](QDialog& dialog) {
    EXPECT_EQ(dialog.objectName(), "keyPage");
    shown = dialog.findChild<QTextBrowser*>("keyTable")->toPlainText();
    dialog.reject();
  });
  QTest::keyClick(w.window.get(), Qt::Key_F1);
  const QString help = CommandLineParser().Help();
  const std::string readme = Contents(KIRAVEL_SOURCE_DIR "/README.md");
  const std::string manual = Contents(KIRAVEL_SOURCE_DIR "/packaging/kiravel.6");
  for (const WindowKey& key : WindowKeys()) {
    EXPECT_TRUE(shown.contains(QString::fromUtf8(key.keysJapanese))) << key.keysJapanese;
    EXPECT_TRUE(shown.contains(QString::fromUtf8(key.japanese))) << key.japanese;
    const std::string english = std::string(key.keysEnglish) + ": " + key.english;
    EXPECT_TRUE(help.contains(QString::fromStdString(english))) << english;
    EXPECT_NE(readme.find("  - " + english + "\n"), std::string::npos) << english;
    const std::string roff = std::string(".B ") + key.keysEnglish + "\n" + key.english + "\n";
    EXPECT_NE(manual.find(roff), std::string::npos) << roff;
  }
}

}  // namespace
}  // namespace kiravel::qt
