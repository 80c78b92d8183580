#pragma once

class QWebEngineProfile;

namespace WebProfile {

// The one named profile every page uses: cookies, logins and cache are kept between runs, the
// engine speaks Portuguese, local pages are kept to themselves, downloads go to the user's
// download folder, and the notifications of the sites allowed them go to the desktop.
QWebEngineProfile* persistent();

} // namespace WebProfile
