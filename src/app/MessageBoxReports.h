#pragma once

// Errors reach the user in a message box (and the log), once the application exists.
namespace MessageBoxReports {
void install();
}
