#pragma once

class QPlainTextEdit;

namespace rowstone::ui {

// Makes a multi-line edit take at most maxLength UTF-16 units, as a
// single-line edit's maximum length does: typed or pasted text beyond the
// limit is dropped where it was inserted, and the text already there stays.
void LimitTextLength(QPlainTextEdit* edit, int maxLength);

} // namespace rowstone::ui
