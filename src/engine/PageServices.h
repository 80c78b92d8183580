#pragma once

class WebPage;

// What a page of the browser gets beyond showing pages: the PDF viewer, downloads into the
// download folder, the login window, and the watch on user input that tells a click from a
// page's own navigation.
namespace PageServices {
void attach(WebPage& page);
}
