#pragma once

#include "forms/LayoutTable.h"

// The stored arrangement of every window of the program.
namespace layout {
extern const Form Form1_IniLayout;
extern const Form Form2_ListaLayout;
extern const Form Form3_AboutLayout;
extern const Form Form4_HelpLayout;
extern const Form Form5_MsgLayout;
extern const Form Form6_DelLayout;
// Small windows in the notice's style: the login, the yes/no question, finding in the page,
// the address window, the question whether a site may use something, the sites' permissions,
// and the open pages.
extern const Form LoginFormLayout;
extern const Form QuestionFormLayout;
extern const Form PermissionFormLayout;
extern const Form FindFormLayout;
extern const Form GotoFormLayout;
extern const Form PermissionsFormLayout;
extern const Form PagesFormLayout;
} // namespace layout
