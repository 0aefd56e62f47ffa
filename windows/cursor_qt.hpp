#pragma once

#include <QApplication>

namespace trovanel {

// The hourglass of a run, put back however the run ends.
class CursorEspera {
public:
    CursorEspera() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursorEspera() { QApplication::restoreOverrideCursor(); }
    CursorEspera(const CursorEspera&) = delete;
    CursorEspera& operator=(const CursorEspera&) = delete;
};

// The ordinary pointer over a dialog that a run opens (a message, the missing-data request), so that
// the user is not shown the hourglass while the program waits for an answer.
class CursorNormal {
public:
    CursorNormal() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~CursorNormal() { QApplication::restoreOverrideCursor(); }
    CursorNormal(const CursorNormal&) = delete;
    CursorNormal& operator=(const CursorNormal&) = delete;
};

} // namespace trovanel
