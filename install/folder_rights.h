// Whether others than the system and the administrators could change an install folder, as a
// pure rule over the folder's security descriptor (no Windows calls), and the descriptor that
// closes such a folder to them.
#pragma once

// What of the folder that `descriptor` protects is open to others, for the installing user `user`
// (a SID): 0 when nothing is, else the parts to give it anew, as the SECURITY_INFORMATION bits
// that name them. `descriptor` is self-relative, `size` bytes, as GetFileSecurityA gives its owner
// and DACL. The others are every SID but SYSTEM, Administrators, TrustedInstaller, CREATOR OWNER
// and `user`. The DACL is open when it is NULL, or when an allowed entry lets another change the
// folder or what it holds (inherit-only entries count: they govern what setup writes); the owner
// when it is another, who can always rewrite the DACL, so both are then open. A descriptor this
// rule can't read whole counts as open as far as it could not be read.
enum { OPEN_OWNER = 0x1, OPEN_DACL = 0x4 };  // OWNER_ and DACL_SECURITY_INFORMATION
unsigned PartsOpenToOthers(const unsigned char *descriptor, unsigned size, const unsigned char *user);

// The descriptor, self-relative, that a folder open to others is given, Program Files' own
// model: owner Administrators; SYSTEM and Administrators full control, Users read and execute,
// each inherited by subfolders and files; the DACL protected from the parent's entries where
// `protect` (Windows 2000 and later; NT 4 knows no such flag).
enum { CLOSED_DESCRIPTOR_SIZE = 112 };
void BuildClosedDescriptor(unsigned char *out, bool protect);
