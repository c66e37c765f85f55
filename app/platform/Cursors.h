#pragma once

#include <QCursor>

namespace rowstone::ui {

// The system's hand cursor: a stone may be placed here.
inline QCursor HandCursor() {
    return QCursor(Qt::PointingHandCursor);
}
// The system's cursor for an action that is not available now.
inline QCursor ForbiddenCursor() {
    return QCursor(Qt::ForbiddenCursor);
}

} // namespace rowstone::ui
