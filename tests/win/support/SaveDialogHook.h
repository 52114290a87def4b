#pragma once
// The save-picture dialog answered through its modal seam (SavePictureDialog::modalHook):
// either by a function of the test's own, or by a script that records what the dialog was
// opened with and gives the answer set beforehand.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/SavePictureDialog.h"

namespace capture_test {

// The entries of a common-dialog filter: description, pattern, description, pattern...
std::vector<std::wstring> FilterEntries(const wchar_t* filter);

// Sets the modal seam from construction to destruction.
class SaveDialogHook {
public:
    using Outcome = fw::SavePictureDialog::Outcome;
    explicit SaveDialogHook(std::function<Outcome(OPENFILENAMEW&)> answer);
    ~SaveDialogHook();
    SaveDialogHook(const SaveDialogHook&) = delete;
    SaveDialogHook& operator=(const SaveDialogHook&) = delete;
};

// Writes `name` and `filterIndex` into the dialog's answer, as the user's choice.
void AnswerSaveDialog(OPENFILENAMEW& ofn, const std::wstring& name, DWORD filterIndex);

// Answers every opening with `answer` (an empty name cancels) and records what it was opened
// with.
class ScriptedSaveDialog {
public:
    struct Answer {
        std::wstring fileName;  // empty: cancel
        int filterIndex = 1;
    };
    struct Seen {
        std::wstring fileName;
        int filterIndex;
        std::vector<std::wstring> filter;
        DWORD flags;
        bool defaultExtension;
    };

    ScriptedSaveDialog();
    Answer answer;
    std::vector<Seen> seen;

private:
    SaveDialogHook hook_;
};

}  // namespace capture_test
