// Loading the saved game, from the tavern's system menu or "Load Start". All
// four files are read and checked before anything of the running game
// changes: a damaged save is reported and the game goes on as it was.
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

#include "core/fom.h"
#include "core/text_speeds.h"
#include "platform/utf8.h"
#include "save/save_files.h"
#include "save/scalar_lines.h"

namespace kiravel {

namespace {

// A list position is a 16-bit number.
constexpr std::size_t kMostEntries = std::numeric_limits<std::int16_t>::max();
constexpr std::size_t kLeastTowns = 2;
constexpr std::int64_t kIntegerMax = std::numeric_limits<std::int16_t>::max();
constexpr std::int64_t kLongMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kLastAttribute = kAttributeCount - 1;
// The texts of towns, fairies and jobs, in characters. The longest the game
// writes is a job's, about 40 characters with its destination town's text
// in it; five times that leaves room for a save edited by hand, while a
// text of megabytes, which would slow every later command, is refused.
constexpr std::size_t kLongestListText = 200;

// "0、100、200、300": the intervals the menu sets.
std::string TextSpeedList() {
  std::string list;
  for (std::int16_t item = 0; item < static_cast<std::int16_t>(kTextSpeedNames.size()); ++item) {
    list += (item == 0 ? "" : "、") + CStr(TextSpeedInterval(item));
  }
  return list;
}

using Rows = std::vector<std::vector<std::string>>;

struct SavedGame {
  Rows towns;
  Rows fairies;
  Rows jobs;
  std::int32_t money = 0;
  std::string name;
  std::int16_t town = 0;
  std::int32_t textSpeed = 0;
  PerStatus<std::int16_t> status{};
  PerStoryLine stories{};
};

// The whole field one number, spaces around it allowed: an optional sign,
// digits and an optional fraction, rounded halves to even as the game rounds.
std::optional<std::int64_t> WholeNumber(std::string_view field) {
  std::size_t begin = field.find_first_not_of(" \t");
  std::size_t end = field.find_last_not_of(" \t");
  if (begin == std::string_view::npos) return std::nullopt;
  std::string_view text = field.substr(begin, end - begin + 1);
  std::size_t i = text[0] == '+' || text[0] == '-' ? 1 : 0;
  std::size_t digits = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9') {
      ++digits;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      return std::nullopt;
    }
  }
  if (digits == 0) return std::nullopt;
  double value = std::nearbyint(DecimalValue(std::string(text)));
  if (!(std::fabs(value) <= 1e15)) return std::numeric_limits<std::int64_t>::max();
  return static_cast<std::int64_t>(value);
}

class SaveReader {
 public:
  SaveReader(const SaveSet& set, const std::string& folder, const TextBox& nameBox)
      : set_(set), folder_(folder), nameBox_(nameBox) {}

  std::optional<SavedGame> Read();
  const SaveFault& Fault() const { return fault_; }

 private:
  bool Fail(SaveFile file, std::size_t line, std::string what) {
    fault_ = SaveFault{folder_ + kSaveFileNames[static_cast<std::size_t>(file)],
                       static_cast<int>(line), std::move(what)};
    return false;
  }
  bool Number(SaveFile file, std::size_t line, const std::string& field, std::int64_t low,
              std::int64_t high, std::int64_t* value);
  bool ReadRows(SaveFile file, std::size_t fields, Rows* rows);
  bool CheckAttributes(SaveFile file, const Rows& rows);
  bool CheckJobs(const Rows& jobs, std::int64_t towns);
  bool ReadScalars(SavedGame* game);
  bool ReadTextSpeed(const std::string& line, std::int32_t* speed);

  const SaveSet& set_;
  std::string folder_;
  const TextBox& nameBox_;
  SaveFault fault_;
};

bool SaveReader::Number(SaveFile file, std::size_t line, const std::string& field,
                        std::int64_t low, std::int64_t high, std::int64_t* value) {
  std::optional<std::int64_t> number = WholeNumber(field);
  if (!number) return Fail(file, line, "「" + field + "」は数として読めません。");
  if (*number < low || *number > high) {
    return Fail(file, line, "「" + field + "」は" + CStr(low) + "から" + CStr(high) +
                                "までのはずです。");
  }
  *value = *number;
  return true;
}

bool SaveReader::ReadRows(SaveFile file, std::size_t fields, Rows* rows) {
  const std::vector<std::string>& lines = set_[file];
  if (lines.size() > kMostEntries) {
    return Fail(file, 0, CStr(static_cast<std::int64_t>(lines.size())) + "行あり、" +
                             CStr(kMostEntries) + "行を超えています。");
  }
  rows->reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::vector<std::string> row = Split(lines[i], ',');
    if (row.size() != fields) {
      return Fail(file, i + 1, "「,」で区切った項目が" + CStr(static_cast<std::int64_t>(fields)) +
                                   "つのはずが" + CStr(static_cast<std::int64_t>(row.size())) +
                                   "つあります。");
    }
    const std::size_t length = Utf8ToCodePoints(row[0]).size();
    if (length > kLongestListText) {
      return Fail(file, i + 1, "最初の項目が" + CStr(static_cast<std::int64_t>(length)) +
                                   "文字あり、" + CStr(static_cast<std::int64_t>(kLongestListText)) +
                                   "文字を超えています。");
    }
    rows->push_back(std::move(row));
  }
  return true;
}

bool SaveReader::CheckAttributes(SaveFile file, const Rows& rows) {
  std::int64_t attribute = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (!Number(file, i + 1, rows[i][1], 0, kLastAttribute, &attribute)) return false;
  }
  return true;
}

// A job raises one of the three attributes, pays at most what an Integer
// holds, and runs between two towns of the loaded list.
bool SaveReader::CheckJobs(const Rows& jobs, std::int64_t towns) {
  std::int64_t value = 0;
  for (std::size_t i = 0; i < jobs.size(); ++i) {
    const std::vector<std::string>& job = jobs[i];
    const std::size_t line = i + 1;
    if (!Number(SaveFile::Jobs, line, job[JobColumn::Attribute], 0, kLastAttribute, &value) ||
        !Number(SaveFile::Jobs, line, job[JobColumn::Reward], 0, kIntegerMax, &value) ||
        !Number(SaveFile::Jobs, line, job[JobColumn::From], 0, towns - 1, &value) ||
        !Number(SaveFile::Jobs, line, job[JobColumn::To], 0, towns - 1, &value) ||
        !Number(SaveFile::Jobs, line, job[JobColumn::Due], 1, kIntegerMax, &value)) {
      return false;
    }
  }
  return true;
}

// The game only ever sets the four speeds of the menu.
bool SaveReader::ReadTextSpeed(const std::string& line, std::int32_t* speed) {
  std::int64_t value = 0;
  if (!Number(SaveFile::Scalars, kTextSpeedLine + 1, line, 0, kLongMax, &value)) return false;
  if (!IsTextSpeed(value)) {
    return Fail(SaveFile::Scalars, kTextSpeedLine + 1,
                "文章の速さ「" + line + "」は" + TextSpeedList() + "のどれかのはずです。");
  }
  *speed = static_cast<std::int32_t>(value);
  return true;
}

// Values a game can reach: money from 0 (more than the purse holds is cut
// when shown), strengths and stamina from 0, days 1 to 365 (a save past
// them would start an ending in the middle of the load).
bool SaveReader::ReadScalars(SavedGame* game) {
  const std::vector<std::string>& lines = set_[SaveFile::Scalars];
  if (lines.size() != kScalarLines) {
    return Fail(SaveFile::Scalars, 0, CStr(kScalarLines) + "行のはずが" +
                                          CStr(static_cast<std::int64_t>(lines.size())) +
                                          "行あります。");
  }
  // Line numbers for the player count from 1.
  auto read = [&](std::size_t line, std::int64_t low, std::int64_t high, std::int64_t* value) {
    return Number(SaveFile::Scalars, line + 1, lines[line], low, high, value);
  };
  std::int64_t value = 0;
  if (!read(kMoneyLine, 0, kLongMax, &value)) return false;
  game->money = static_cast<std::int32_t>(value);
  if (!nameBox_.Keeps(lines[kNameLine])) {
    return Fail(SaveFile::Scalars, kNameLine + 1,
                "名前は" + CStr(static_cast<std::int64_t>(nameBox_.MaxLength)) +
                    "文字までで、名前の欄に打てる文字だけのはずです。");
  }
  game->name = lines[kNameLine];
  const auto towns = static_cast<std::int64_t>(game->towns.size());
  if (!read(kTownLine, 0, towns - 1, &value)) return false;
  game->town = static_cast<std::int16_t>(value);
  if (!ReadTextSpeed(lines[kTextSpeedLine], &game->textSpeed)) return false;
  for (std::size_t i = 0; i < game->status.size(); ++i) {
    const bool days = i == static_cast<std::size_t>(Status::Days);
    const std::int64_t low = days ? 1 : 0;
    const std::int64_t high = days ? kLastDay : kIntegerMax;
    if (!read(kFirstStatusLine + i, low, high, &value)) return false;
    game->status[i] = static_cast<std::int16_t>(value);
  }
  for (std::size_t i = 0; i < game->stories.size(); ++i) {
    if (!read(kFirstStoryLine + i, 0, kIntegerMax, &value)) return false;
    game->stories[i] = static_cast<std::int16_t>(value);
  }
  return true;
}

std::optional<SavedGame> SaveReader::Read() {
  SavedGame game;
  if (!ReadRows(SaveFile::Towns, 2, &game.towns) || !CheckAttributes(SaveFile::Towns, game.towns))
    return std::nullopt;
  if (game.towns.size() < kLeastTowns) {
    Fail(SaveFile::Towns, 0, "街が2つ以上あるはずです。");
    return std::nullopt;
  }
  if (!ReadRows(SaveFile::Fairies, 2, &game.fairies) ||
      !CheckAttributes(SaveFile::Fairies, game.fairies) ||
      !ReadRows(SaveFile::Jobs, kJobColumns, &game.jobs) ||
      !CheckJobs(game.jobs, static_cast<std::int64_t>(game.towns.size())) ||
      !ReadScalars(&game)) {
    return std::nullopt;
  }
  return game;
}

void FillFamily(ControlArray<ListBox>& family, const Rows& rows) {
  for (int j = 0; family.Exists(j); ++j) family[j].Clear();
  for (const std::vector<std::string>& row : rows) {
    for (std::size_t j = 0; j < row.size(); ++j) family[static_cast<int>(j)].AddItem(row[j]);
  }
}

void Restore(Fom& f, const SavedGame& game) {
  FillFamily(f.LstMati, game.towns);
  FillFamily(f.LstYou, game.fairies);
  FillFamily(f.LstSigoto, game.jobs);
  f.Money = game.money;
  f.AddMoney(0);
  f.TxtName.Text = game.name;
  f.MatiNow = game.town;
  f.TimSay.SetInterval(game.textSpeed);
  for (std::int16_t i = 0; i < kStatusCount; ++i) {
    f.StrVal[i] = game.status[i];
    f.AddStatus(i, 0);
  }
  f.IveCount = game.stories;
  // "Load Start" can be chosen while a journey or a battle of the game left
  // behind the start panel still runs; it belongs to that game, and its
  // destination may be no town of the loaded one.
  f.TimDay.SetEnabled(false);
  f.TimBtl.SetEnabled(false);
  f.PicBtl.Visible = false;
}

}  // namespace

bool Fom::LoadGame() {
  const FolderPlace folder = SaveFolder();
  SaveSetRead read = ReadSaveSet(folder);
  std::optional<SavedGame> game;
  SaveFault fault;
  if (read.Fault) {
    fault = *read.Fault;
  } else {
    SaveReader reader(read.Set, folder.Path(), TxtName);
    game = reader.Read();
    fault = reader.Fault();
  }
  if (!game) {
    platform_.ReportFailure("ロードできませんでした。\r\n" +
                            DescribeSaveFault(fault, Relative(fault.Path)));
    return false;
  }
  Restore(*this, *game);
  keptRecord_ = GameRecord();
  EnterTown();
  platform_.MsgBox("Load　OK", MsgBoxButtons::OK);
  return true;
}

}  // namespace kiravel
