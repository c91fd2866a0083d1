#include "ui/platform/UiTestScript.h"

CUiTestScript::State& CUiTestScript::Current() {
    static State state;
    return state;
}

void CUiTestScript::Start() {
    Current() = State();
    Current().active = true;
}

void CUiTestScript::Stop() {
    Current() = State();
}

bool CUiTestScript::IsActive() {
    return Current().active;
}

void CUiTestScript::AnswerMessageBox(int answer) {
    Current().messageAnswers.push_back(answer);
}

void CUiTestScript::AcceptFileDialog(const QString& path) {
    Current().fileAnswers.push_back(FileAnswer{true, path});
}

void CUiTestScript::CancelFileDialog() {
    Current().fileAnswers.push_back(FileAnswer{false, QString()});
}

const std::vector<MessageBoxRequest>& CUiTestScript::MessageBoxes() {
    return Current().messageBoxes;
}

const std::vector<FileDialogRequest>& CUiTestScript::FileDialogs() {
    return Current().fileDialogs;
}

std::size_t CUiTestScript::PendingAnswers() {
    return Current().messageAnswers.size() + Current().fileAnswers.size();
}

void CUiTestScript::Ask(MessageBoxRequest& request) {
    State& state = Current();
    if (!state.messageAnswers.empty()) {
        request.answer = state.messageAnswers.front();
        request.scripted = true;
        state.messageAnswers.pop_front();
    } else {
        request.scripted = false;
    }
    state.messageBoxes.push_back(request);
}

void CUiTestScript::Ask(FileDialogRequest& request) {
    State& state = Current();
    if (!state.fileAnswers.empty()) {
        request.accepted = state.fileAnswers.front().accepted;
        request.path = state.fileAnswers.front().path;
        request.scripted = true;
        state.fileAnswers.pop_front();
    } else {
        request.accepted = false;
        request.scripted = false;
    }
    state.fileDialogs.push_back(request);
}
