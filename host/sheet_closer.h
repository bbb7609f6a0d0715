// A second thread that plays the person in front of the module's "Settings" sheet during one host
// session: it waits for the sheet, chooses a segment style on its "Settings" page and presses OK,
// with messages only, while the session's own thread is inside the module's modal loop.
#pragma once

#include <string>

namespace session {

class SheetCloser {
  public:
    // Starts waiting for the sheet; within seconds it chooses style (0 lines, 1 cylinders,
    // 2 balloons) and presses OK, or closes whatever is open and reports the failure.
    SheetCloser(int style, int seconds);
    ~SheetCloser();
    SheetCloser(const SheetCloser&) = delete;
    SheetCloser& operator=(const SheetCloser&) = delete;

    // Called once the module's call has returned, so a sheet that has not come is not waited for.
    // Waits for the thread to end; true when it pressed OK in time, else false with the reason.
    bool finish(std::string* reason);

  private:
    struct State;
    State* state_;
};

}  // namespace session
