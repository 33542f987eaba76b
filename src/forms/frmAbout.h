#pragma once
#include <memory>

#include <string>

#include "platform/Form.h"

// The version information box, shown modal over the main window.
class frmAbout {
public:
    explicit frmAbout(FormFactory& forms);
    ~frmAbout();

    // Loads the box and shows it modal, owned by owner; returns when it has closed.
    void ShowModal(Form& owner);

    // The five information lines, joined with CR LF.
    static std::string InformationText();

private:
    void Form_Load();
    void cmdOk_Click();

    std::unique_ptr<Form> form_;
    Label& lblAbout;
    Label& lblInfo;
    Button& cmdOk;
};
