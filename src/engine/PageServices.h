#pragma once

class LoginPrompt;
class WebPage;

// What a page of the browser gets beyond showing pages: the PDF viewer, the login window, and
// the watch on user input that tells a click from a page's own navigation. (Downloads belong to
// the profile: see WebProfile.) Returns the page's login prompt, which the page owns.
namespace PageServices {
LoginPrompt* attach(WebPage& page);
}
