#pragma once

class QObject;

// What the windows and their timers do, with the monotonic clock in milliseconds, for whoever
// watches the program from outside (the end-to-end tests measure the hand-over delays on the
// program's side, where the machine's load cannot blur them). Off unless the logging category
// quorvane.windows is enabled: QT_LOGGING_RULES=quorvane.windows.info=true gives lines such as
//   quorvane.windows: 81234567 Form2_Lista loaded
//   quorvane.windows: 81234818 Form2_Lista.TimerHideForm fired
namespace WindowTrace {

// "<ms> <name> <what>", name being the object's name, prefixed with its window's for a timer.
void note(const QObject* subject, const char* what);

} // namespace WindowTrace
