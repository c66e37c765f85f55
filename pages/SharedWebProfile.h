#pragma once

class QWebEngineProfile;

namespace rowstone {

// The one browser profile of the program, shared by every web view. It is
// off the record: cookies, cache and history stay in memory, and nothing is
// written to disk. It belongs to the application object and lives until it
// goes; every web view must be gone by then.
QWebEngineProfile* SharedWebProfile();

} // namespace rowstone
