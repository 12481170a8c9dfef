// Whether others than the system and the administrators could change an install folder, or put
// another folder in its place through a folder above it, as pure rules over security
// descriptors (no Windows calls), and the descriptors that close a folder to them.
#pragma once

// Besides SYSTEM, Administrators, TrustedInstaller and the installing user `user` (a SID), Power
// Users are trusted where `powerUsers`: before Vista they are the administrators' equals, and
// Program Files grants them Modify. CREATOR OWNER is trusted only as the placeholder of an
// inherit-only entry. Everyone else is one of the others.

// What of the folder that `descriptor` protects is open to others: 0 when nothing is, else the
// parts to give it anew, as the SECURITY_INFORMATION bits that name them. `descriptor` is
// self-relative, `size` bytes, as GetFileSecurityA gives its owner and DACL. The DACL is open
// when it is NULL, or when an allowed entry lets another change the folder or what it holds
// (inherit-only entries count: they govern what setup writes); the owner when it is another, who
// can always rewrite the DACL, so both are then open. A descriptor this rule can't read whole
// counts as open as far as it could not be read.
enum { OPEN_OWNER = 0x1, OPEN_DACL = 0x4 };  // OWNER_ and DACL_SECURITY_INFORMATION
unsigned PartsOpenToOthers(const unsigned char *descriptor, unsigned size, const unsigned char *user, bool powerUsers);

// Where a folder stands on the path to the install folder, for the rule below; each kind of
// folder the walk starts at, or passes, followed by the same as the install folder itself.
enum {
    PATH_ABOVE,                  // between the walk's start and the install folder
    PATH_INSTALL_FOLDER,         // whose own openness is closed rather than refused
    PATH_DRIVE_ROOT,             // where the walk starts outside the program folder
    PATH_DRIVE_ROOT_INSTALLED,   // a drive's root as the install folder
    PATH_PROGRAM_FOLDER,         // the system's to keep
    PATH_PROGRAM_FOLDER_INSTALLED,
};
// True when others could put another folder in place of the install folder through this folder
// of its path, of file attributes `attributes`, at `place`: a reparse point (junction, symbolic
// link, mount point) below the root, which its owner can point elsewhere; above the install
// folder, an owner of the others', or an entry that grants them DELETE, WRITE_DAC, WRITE_OWNER,
// generic write or all, or FILE_DELETE_CHILD over what it holds (renaming needs no more); on
// the root, FILE_DELETE_CHILD; a drive's root or the program folder as the install folder, open
// at all, as it may not be closed for one product. Inherit-only entries of a folder above govern
// only what is made in it, and setup makes its own folders closed.
bool LetsOthersReplace(unsigned long attributes, const unsigned char *descriptor, unsigned size,
                       const unsigned char *user, bool powerUsers, int place);

// The descriptor, self-relative, that a folder open to others is given, Program Files' own
// model: owner Administrators; SYSTEM and Administrators full control, Users read and execute,
// each inherited by subfolders and files; the DACL protected from the parent's entries where
// `protect` (Windows 2000 and later; NT 4 knows no such flag). Where `inherited`, the same owner
// and entries as what lies in such a folder has them from it: on Windows 2000 and later marked
// inherited (and not protected), on NT 4 the same entries as the folder's.
enum { CLOSED_DESCRIPTOR_SIZE = 112 };
void BuildClosedDescriptor(unsigned char *out, bool protect, bool inherited = false);
// The Administrators group's SID, S-1-5-32-544.
const unsigned char *AdministratorsSid();
bool IsAdministratorsSid(const unsigned char *sid);
