#include "ScriptedMessageBoxes.h"

namespace rowstone::test {

ui::MessageAnswer ScriptedMessageBoxes::Show(QWidget* /*owner*/,
                                             const ui::MessageRequest& request) {
    const ShownBox box{request.text, request.caption, request.buttons, request.icon};
    shown.push_back(box);
    if (onShow)
        onShow(box);
    if (request.buttons == ui::MessageButtons::Ok)
        return ui::MessageAnswer::Ok;
    if (answers.empty()) {
        ++unexpectedQuestions;
        return request.buttons == ui::MessageButtons::YesNo ? ui::MessageAnswer::No
                                                            : ui::MessageAnswer::Cancel;
    }
    const ui::MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

QStringList ScriptedMessageBoxes::Texts() const {
    QStringList texts;
    for (const ShownBox& box : shown)
        texts << box.text;
    return texts;
}

} // namespace rowstone::test
