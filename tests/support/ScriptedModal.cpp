#include "tests/support/ScriptedModal.h"

#include <gtest/gtest.h>

#include "framework/Timers.h"

ScriptedModal::ScriptedModal() {
    ModalRunner::Set(this);
}

ScriptedModal::~ScriptedModal() {
    ModalRunner::Set(nullptr);
}

void ScriptedModal::ExpectMessage(const std::string& text, const std::string& caption, int answer,
                                  long long upForMs) {
    Entry e;
    e.kind = "message";
    e.text = text;
    e.caption = caption;
    e.answer = answer;
    e.upForMs = upForMs;
    m_script.push_back(std::move(e));
}

void ScriptedModal::ExpectDialog(int templateId, std::function<int(CDialog&)> act,
                                 long long upForMs) {
    Entry e;
    e.kind = "dialog";
    e.upForMs = upForMs;
    e.templateId = templateId;
    e.act = std::move(act);
    m_script.push_back(std::move(e));
}

void ScriptedModal::ExpectFileDialog(const std::string& path,
                                     std::function<void(FileDialogRequest&)> check) {
    Entry e;
    e.kind = "file";
    e.text = path;
    e.fileCheck = std::move(check);
    m_script.push_back(std::move(e));
}

void ScriptedModal::VerifyDone() {
    for (const Entry& e : m_script)
        ADD_FAILURE() << "expected " << e.kind << " was never shown: " << e.text
                      << (e.templateId ? " template " + std::to_string(e.templateId) : "");
    m_script.clear();
}

int ScriptedModal::MessageBox(const std::string& text, const std::string& caption, UINT type) {
    m_history.push_back({"message", text, caption, type});
    if (m_script.empty() || m_script.front().kind != "message") {
        ADD_FAILURE() << "unexpected message box \"" << text << "\" (" << caption << ")";
        return IDCANCEL;
    }
    Entry e = std::move(m_script.front());
    m_script.pop_front();
    EXPECT_EQ(e.text, text);
    EXPECT_EQ(e.caption, caption);
    // Popped first: a box that a timer raises meanwhile takes the next entry.
    if (e.upForMs > 0)
        TimerQueue::Instance().Advance(e.upForMs);
    return e.answer;
}

int ScriptedModal::RunDialog(CDialog& dialog) {
    m_history.push_back({"dialog", dialog.GetCaption(), dialog.GetCaption(), 0});
    if (m_script.empty() || m_script.front().kind != "dialog") {
        ADD_FAILURE() << "unexpected modal dialog " << dialog.GetTemplateId() << " \""
                      << dialog.GetCaption() << "\"";
        return IDCANCEL;
    }
    Entry e = std::move(m_script.front());
    m_script.pop_front();
    EXPECT_EQ(e.templateId, dialog.GetTemplateId());
    if (e.upForMs > 0)
        TimerQueue::Instance().Advance(e.upForMs);
    if (!e.act)
        return IDOK;
    const int result = e.act(dialog);
    return dialog.IsEnded() ? dialog.GetResult() : result;
}

bool ScriptedModal::FileDialog(FileDialogRequest& request) {
    m_history.push_back({"file", request.fileName, request.filter, 0});
    if (m_script.empty() || m_script.front().kind != "file") {
        ADD_FAILURE() << "unexpected file dialog (" << request.filter << ")";
        return false;
    }
    Entry e = std::move(m_script.front());
    m_script.pop_front();
    if (e.fileCheck)
        e.fileCheck(request);
    if (e.text.empty())
        return false;
    request.fileName = e.text;
    return true;
}
