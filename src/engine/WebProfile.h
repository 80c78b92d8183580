#pragma once

class QWebEngineProfile;

namespace WebProfile {

// The one named profile every page uses: cookies, logins and cache are kept between runs, the
// engine speaks Portuguese, local pages are kept to themselves, and downloads go to the user's
// download folder.
QWebEngineProfile* persistent();

} // namespace WebProfile
