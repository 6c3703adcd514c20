// The scenario language read and written: what the window records must read
// back as the command it played, and the recording must hold every line the
// moment its event is over.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/data_folder.h"
#include "scenario/command.h"
#include "scenario/recorder.h"
#include "testing/game_fixture.h"

namespace kiravel::scenario {
namespace {

std::string Reread(const std::string& written) {
  Line line = ParseLine(written);
  EXPECT_TRUE(line.refusal.empty()) << written << ": " << line.refusal;
  return line.command ? Format(*line.command) : "(no command)";
}

TEST(ScenarioLanguage, EveryCommandIsWrittenAsTheLineThatReadsBackToIt) {
  for (const char* written : {
           "click Com(3)", "select LstMati(0) -1", "select LstIrai 2",
           "type TxtName ミナ さん  two spaces", "type TxtName ", "menu menu_tim_Click(2)",
           "tick TimDay", "tick BgmTim 5", "wait 0", "wait 86400000",
           "rnd 0 0.1 0.123456789 0.9999999999999999", "answer ok", "answer yes", "answer no",
           "resize 8610", "resize 9000 19200 10800", "frame 60 60", "frame 0 0", "pixel 15", "pixel 13.333333333333334", "close", "dump", "dump Money LstMati(0)",
           "seed 18446744073709551615", "shot 01-start", "scene 03", "scene rei_p"}) {
    EXPECT_EQ(Reread(written), written);
  }
  // A line saved with CR LF reads as without.
  EXPECT_EQ(Reread("click ComSkep\r"), "click ComSkep");
  // The draws read back exactly, not rounded.
  Line rnd = ParseLine(Format(Rnd{{0.1 + 0.2, 1.0 / 3}}));
  ASSERT_TRUE(rnd.command);
  EXPECT_EQ(std::get<Rnd>(*rnd.command).draws, (std::vector<double>{0.1 + 0.2, 1.0 / 3}));
}

TEST(ScenarioLanguage, BlankLinesCommentsAndRefusalsCarryNoCommand) {
  for (const char* quiet : {"", "   ", "# a note", "#click Com(3)"}) {
    Line line = ParseLine(quiet);
    EXPECT_FALSE(line.command) << quiet;
    EXPECT_EQ(line.refusal, "") << quiet;
  }
  const std::vector<std::pair<std::string, std::string>> refused{
      {"fly away", "unknown command \"fly\""},
      {"click  Com(3)", "usage: click NAME"},
      {"tick TimNone", "no timer named TimNone"},
      {"tick TimDay -1", "-1 is not a number of ticks"},
      {"rnd 0.5 1", "1 is not a number in [0, 1)"},
      {"answer maybe", "an answer is ok, yes or no"},
      {"resize 9000 0 10", "the screen size is two positive numbers of twips"},
      {"seed -3", "-3 is not a seed"},
      {"frame 60", "usage: frame FW FH"},
      {"pixel 0", "0 is not the size of a pixel in twips"},
      {"frame 60 -1", "the frame is two numbers of twips, 0 or more"},
      {"shot", "usage: shot NAME"},
      {"scene 03 04", "usage: scene NAME"},
      {"scene ..", ".. is not a scene's file in " + TextFolderPath() + " without " + kDataEnding},
  };
  for (const auto& [written, why] : refused) {
    Line line = ParseLine(written);
    EXPECT_FALSE(line.command) << written;
    EXPECT_EQ(line.refusal, why);
  }
  // A position is looked at on the list itself: any whole number reads.
  Line select = ParseLine("select LstIrai x");
  ASSERT_TRUE(select.command);
  EXPECT_FALSE(std::get<Select>(*select.command).index);
}

class Recording : public ::testing::Test {
 protected:
  std::string File() const {
    std::ifstream in(path_);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  testing::DataFolder folder_;
  std::string path_ = folder_.Path() + "played.txt";
};

TEST_F(Recording, AnswersComeBeforeTheirCommandAndEachLineIsOutAtOnce) {
  Recorder recorder(path_);
  ASSERT_TRUE(recorder.IsOpen());
  recorder.Played(Seed{42});
  EXPECT_EQ(File(), "seed 42\n");
  recorder.Answered(MsgBoxAnswer::Yes);
  EXPECT_EQ(File(), "seed 42\n") << "an answer waits for the event's end";
  recorder.Played(Click{"Com(0)"});
  EXPECT_EQ(File(), "seed 42\nanswer yes\nclick Com(0)\n");
  // A close taken back: its answer must not answer a later box.
  recorder.Answered(MsgBoxAnswer::No);
  recorder.Dropped();
  recorder.Answered(MsgBoxAnswer::OK);
  recorder.Played(Menu{"menu_ver"});
  EXPECT_EQ(File(), "seed 42\nanswer yes\nclick Com(0)\nanswer ok\nmenu menu_ver\n");
}

TEST_F(Recording, TextWithLineBreaksIsNotedAsMissingNotReplayedWrong) {
  Recorder recorder(path_);
  recorder.Played(Type{"TxtBtl", "one\r\ntwo"});
  recorder.Played(Type{"TxtName", "ミナ"});
  EXPECT_EQ(File(),
            "# not replayable: text with line breaks typed into TxtBtl\ntype TxtName ミナ\n");
  EXPECT_FALSE(Recorder(folder_.Path() + "no/such/folder/file.txt").IsOpen());
}

}  // namespace
}  // namespace kiravel::scenario
