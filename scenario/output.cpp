#include "scenario/output.h"

#include "scenario/command.h"
#include "scenario/perform.h"

namespace kiravel::run {

namespace {

const char* ButtonsName(MsgBoxButtons buttons) {
  return buttons == MsgBoxButtons::YesNo ? "YesNo" : "OK";
}

}  // namespace

void Output::Listen(ScriptedPlatform& platform, Fom& fom) {
  platform.OnMsgBox = [this](const ScriptedPlatform::MessageBox& box) { MessageBox(box); };
  platform.OnFailure = [this](const std::string& text) { Failure(text); };
  platform.OnMci = [this](const std::string& command, std::int32_t result) {
    Mci(command, result);
  };
  fom.OnPictureRequest = [this](const PictureBox& panel, const std::string& file, bool ok) {
    Picture(panel, file, ok);
  };
}

void Output::Refused(std::string_view command, std::string_view why) {
  out_ << scenario::RefusedLine(command, why) << '\n';
}

void Output::Dump(const JsonWriter& members) { out_ << scenario::DumpLine(members) << '\n'; }

void Output::MessageBox(const ScriptedPlatform::MessageBox& box) {
  JsonWriter json;
  json.BeginObject().Key("msgbox").BeginObject();
  json.Key("text").String(box.Text);
  json.Key("buttons").String(ButtonsName(box.Buttons));
  json.Key("answer").String(scenario::AnswerWord(box.Answer));
  json.EndObject().EndObject();
  Line(json);
}

void Output::Failure(const std::string& text) {
  JsonWriter json;
  json.BeginObject().Key("error").String(text).EndObject();
  Line(json);
}

void Output::Mci(const std::string& command, std::int32_t result) {
  JsonWriter json;
  json.BeginObject().Key("mci").String(command).Key("result").Integer(result).EndObject();
  Line(json);
}

void Output::Picture(const PictureBox& panel, const std::string& file, bool ok) {
  JsonWriter json;
  json.BeginObject().Key("picture").BeginObject();
  json.Key("panel").String(panel.Id()).Key("file").String(file).Key("ok").Bool(ok);
  json.EndObject().EndObject();
  Line(json);
}

void Output::Line(const JsonWriter& object) { out_ << object.Text() << '\n'; }

}  // namespace kiravel::run
