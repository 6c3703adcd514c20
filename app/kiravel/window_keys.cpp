#include "app/kiravel/window_keys.h"

namespace kiravel::qt {

const std::vector<WindowKey>& WindowKeys() {
  static const std::vector<WindowKey> keys = {
      {KeyMode::Anywhere, "F1", "F1", "キーの一覧を開く", "Shows the keys"},
      {KeyMode::Anywhere, "F2、Ctrl+,", "F2, Ctrl+,", "設定を開く", "Opens the preferences"},
      {KeyMode::Anywhere, "F11", "F11", "全画面と窓を切り替える", "Toggles full screen"},
      {KeyMode::Anywhere, "Ctrl+M", "Ctrl+M", "音楽を消す・戻す", "Toggles the music"},
      {KeyMode::Anywhere, "Tab、Shift+Tab", "Tab, Shift+Tab", "次・前のボタンや一覧へ移る",
       "Moves the focus to the next or previous control"},
      {KeyMode::Anywhere, "Space、Enter", "Space, Enter", "選んでいるボタンを押す",
       "Presses the focused button"},
      {KeyMode::Anywhere, "H、Page Up", "H, Page Up", "履歴を開く（場面と町で）",
       "Opens the history (in a scene or in town)"},
      {KeyMode::Anywhere, "A", "A", "自動送りを入れる・切る", "Switches the auto advance on or off"},
      {KeyMode::Anywhere, "S", "S", "読んだページのスキップを入れる・切る",
       "Switches the skipping of pages read before on or off"},
      {KeyMode::StartPanel, "↓、→", "Down, Right", "「LV EASY」に移る", "Moves onto LV EASY"},
      {KeyMode::StartPanel, "↑、←", "Up, Left", "「Load Start」に移る", "Moves onto Load Start"},
      {KeyMode::Scene, "Space、Enter、→、↓、Page Down、ホイールを下へ",
       "Space, Enter, Right, Down, Page Down, wheel down", "次へ読み進める", "Reads on"},
      {KeyMode::Scene, "ホイールを上へ", "wheel up", "履歴を開く", "Opens the history"},
      {KeyMode::Scene, "Ctrl（押している間）", "Ctrl (held)", "読んだページを早送りする",
       "Skips quickly through pages read before"},
      {KeyMode::History, "Esc、H、右クリック、最後でホイールを下へ",
       "Esc, H, right click, wheel down at the end", "履歴を閉じる", "Closes the history"},
      {KeyMode::History, "↑、↓、Page Up、Page Down、ホイール", "Up, Down, Page Up, Page Down, wheel",
       "履歴を読み返す", "Scrolls the history"},
      {KeyMode::History, "Ctrl+C", "Ctrl+C", "選んだ文を写す", "Copies the selected text"},
      {KeyMode::ScenePreview, "F5", "F5", "場面のファイルを読み直して始めから見せる",
       "Reads the scene file again and plays it from its first page"},
  };
  return keys;
}

QString KeyModeName(KeyMode mode, bool japanese) {
  switch (mode) {
    case KeyMode::Anywhere:
      return japanese ? QStringLiteral("いつでも") : QStringLiteral("Anywhere");
    case KeyMode::StartPanel:
      return japanese ? QStringLiteral("始めの画面") : QStringLiteral("On the start panel");
    case KeyMode::Scene:
      return japanese ? QStringLiteral("場面") : QStringLiteral("In a scene");
    case KeyMode::History:
      return japanese ? QStringLiteral("履歴") : QStringLiteral("In the history");
    case KeyMode::ScenePreview:
      return japanese ? QStringLiteral("場面の確認（--scene）")
                      : QStringLiteral("With --scene");
  }
  return {};
}

QString TypingNote(bool japanese) {
  return japanese ? QStringLiteral("名前の欄や戦いの文の欄にいる間、H・A・S はその欄に文字を打ちます。")
                  : QStringLiteral("While the name box or the battle's text has the focus, H, A and S type there.");
}

QString KeysInEnglish() {
  QString text = QStringLiteral("Keys:");
  bool first = true;
  KeyMode mode = KeyMode::Anywhere;
  for (const WindowKey& key : WindowKeys()) {
    if (first || key.mode != mode) text += QStringLiteral("\n ") + KeyModeName(key.mode, false) + ":";
    first = false;
    mode = key.mode;
    text += QStringLiteral("\n   ") + QString::fromUtf8(key.keysEnglish) + QStringLiteral(": ") +
            QString::fromUtf8(key.english);
  }
  return text + QStringLiteral("\n") + TypingNote(false);
}

}  // namespace kiravel::qt
