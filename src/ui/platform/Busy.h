// What a window does while the program is busy on the user-interface
// thread: the wait cursor, and painting without taking the user's input.
#pragma once

// Shows the wait cursor over the program's windows while it lives and puts
// back the cursor it replaced when it goes.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

// Processes what is due to paint, expose and resize the program's windows
// (and their timers); keys and mouse clicks stay queued until the program
// is idle again, so that nothing the user does reaches it meanwhile.
void PumpPaintMessages();
