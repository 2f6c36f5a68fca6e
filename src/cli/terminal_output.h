#pragma once

namespace dadaz::cli {

// Song titles, names and paths come from the library and may hold control characters; on a
// terminal those would move the cursor, change colours or retitle the window. Standard output
// and standard error that are terminals show each such character as "?" (tab, line feed and
// carriage return pass). Output into files and pipes stays byte for byte.
void guardTerminalOutput();

}  // namespace dadaz::cli
