#pragma once

class QWebEngineProfile;

namespace WebProfile {

// The one named profile every page uses: cookies, logins and cache are kept between runs, the
// engine speaks Portuguese and local pages are kept to themselves.
QWebEngineProfile* persistent();

} // namespace WebProfile
