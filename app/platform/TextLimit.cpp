#include "TextLimit.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace rowstone::ui {

namespace {

// Drops the end of the text just inserted at [position, position + added)
// until the whole text is within maxLength, without splitting a character
// made of two UTF-16 units.
void DropExcess(QPlainTextEdit* edit, int maxLength, int position, int added) {
    const QString text = edit->toPlainText();
    const qsizetype excess = text.size() - maxLength;
    if (excess <= 0 || added <= 0)
        return;
    // A whole new document reports its closing paragraph mark as added too.
    const int end = static_cast<int>(std::min<qsizetype>(position + added, text.size()));
    int start = end - static_cast<int>(std::min<qsizetype>(excess, added));
    if (start > 0 && start < text.size() && text.at(start).isLowSurrogate())
        --start;
    if (start < position)
        start = position;
    QTextCursor cursor(edit->document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

} // namespace

void LimitTextLength(QPlainTextEdit* edit, int maxLength) {
    QObject::connect(edit->document(), &QTextDocument::contentsChange, edit,
                     [edit, maxLength](int position, int /*removed*/, int added) {
                         DropExcess(edit, maxLength, position, added);
                     });
    DropExcess(edit, maxLength, 0, static_cast<int>(edit->toPlainText().size()));
}

} // namespace rowstone::ui
