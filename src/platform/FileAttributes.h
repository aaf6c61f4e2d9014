// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tunefold {

// Gives the open file to everything of the open file from but its content:
// owner, group, mode (set-ID and sticky bits included) and extended
// attributes (ACLs and security labels included). Returns 0, or the errno of
// the call that failed; EPERM also when the system quietly kept a bit back.
// Writing to a file clears set-ID bits for anyone but root, so call it again
// once to is written.
[[nodiscard]] int carryOverAttributes(int from, int to);

} // namespace tunefold
