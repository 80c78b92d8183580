#pragma once

// What the web engine keeps of the user's browsing, cleared at the user's request: cookies,
// the cache and the visited links, and the history. The saved sites and the configuration are
// never part of it.
class HistoryStore;

// history may be null (nothing recorded yet); a history that cannot be cleared, or that is
// disabled this run, throws QvError naming the file.
void clearBrowsingData(HistoryStore* history);
