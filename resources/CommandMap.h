// The one conversion between Kib's command numbers and wxWidgets window ids.
// wx accepts ids only below 32767 and keeps 4999-5999 for itself, so each
// block of Kib numbers is moved by a fixed offset.
#pragma once

namespace kib {

inline constexpr int kNoWxId = -1; // wxID_NONE

// Kib number -> wx id; kNoWxId for a number outside every block.
int ToWxId(int command);
// wx id -> Kib number; -1 for an id outside every block.
int FromWxId(int wxId);

} // namespace kib
