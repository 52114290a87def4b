#include "support/SaveDialogHook.h"

#include <cwchar>

namespace capture_test {

std::vector<std::wstring> FilterEntries(const wchar_t* filter) {
    std::vector<std::wstring> out;
    for (const wchar_t* p = filter; p && *p; p += out.back().size() + 1) out.emplace_back(p);
    return out;
}

SaveDialogHook::SaveDialogHook(std::function<Outcome(OPENFILENAMEW&)> answer) {
    fw::SavePictureDialog::modalHook = std::move(answer);
}

SaveDialogHook::~SaveDialogHook() { fw::SavePictureDialog::modalHook = nullptr; }

void AnswerSaveDialog(OPENFILENAMEW& ofn, const std::wstring& name, DWORD filterIndex) {
    wcsncpy(ofn.lpstrFile, name.c_str(), ofn.nMaxFile - 1);
    ofn.lpstrFile[ofn.nMaxFile - 1] = L'\0';
    ofn.nFilterIndex = filterIndex;
}

ScriptedSaveDialog::ScriptedSaveDialog()
    : hook_([this](OPENFILENAMEW& ofn) {
          seen.push_back(Seen{ofn.lpstrFile, int(ofn.nFilterIndex), FilterEntries(ofn.lpstrFilter), ofn.Flags,
                              ofn.lpstrDefExt != nullptr});
          if (answer.fileName.empty()) return SaveDialogHook::Outcome::Cancelled;
          AnswerSaveDialog(ofn, answer.fileName, DWORD(answer.filterIndex));
          return SaveDialogHook::Outcome::Accepted;
      }) {}

}  // namespace capture_test
