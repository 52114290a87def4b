#pragma once
// The control panel: the program's main window.
#include "framework/Button.h"
#include "framework/Form.h"

class TCopyForm : public fw::Form {
public:
    TCopyForm();
    ~TCopyForm() override;

    fw::Button Minimize;

    // Handlers.
    void FormCreate();
    void FormShow();
    void FormClose(fw::CloseAction& action);
    void MinimizeClick();
    void MinimizeAllClick();
    void RestoreClick();

protected:
    void DoCreate() override { FormCreate(); }
    void DoShow() override { FormShow(); }
    void DoClose(fw::CloseAction& action) override { FormClose(action); }
};

// The one control panel of the program, set as soon as the object exists.
extern TCopyForm* CopyForm;
