#pragma once

#include <string>

namespace dbengine {

// The connection string both programs give the engine before every open: the Jet 4.0 provider,
// user Admin, the file (unquoted unless it holds a ";" or a quote or has blanks at either end, so
// the very file named is opened), read-write mode and the fixed tail of provider properties.
std::string JetConnectionString(const std::string& path);

}  // namespace dbengine
