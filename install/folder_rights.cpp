#include "folder_rights.h"

// Offsets and values of the binary security descriptor, ACL and ACE layouts (winnt.h).
enum {
    SELF_RELATIVE = 0x8000, DACL_PRESENT = 0x0004, DACL_AUTO_INHERITED = 0x0400, DACL_PROTECTED = 0x1000,
    INHERIT_ONLY = 0x08, INHERITED_BY_SOME = 0x03,  // OBJECT_INHERIT | CONTAINER_INHERIT
    INHERITED = 0x10,
    DELETE_CHILD = 0x40,
    // What lets another put a folder in this one's place: delete, change permissions, change
    // owner, generic all, generic write; over what the folder holds, delete child.
    REPLACE_RIGHTS = 0x10000 | 0x40000 | 0x80000 | 0x10000000 | 0x40000000 | DELETE_CHILD,
    // Besides, write or add file, append or add subfolder.
    CHANGE_RIGHTS = 0x2 | 0x4 | REPLACE_RIGHTS,
    // The access-allowed kinds: plain, compound, object, callback, callback object.
    ALLOWED_TYPES = 1 << 0 | 1 << 4 | 1 << 5 | 1 << 9 | 1 << 11,
    REPARSE_POINT = 0x400,  // FILE_ATTRIBUTE_REPARSE_POINT
};

// What the rule looks at in one descriptor: the trusted, the rights that open it, and which of
// the owner, the inherit-only entries and a reparse point count.
enum { JUDGE_OWNER = 1, JUDGE_INHERIT_ONLY = 2, JUDGE_REPARSE = 4 };
struct Judging {
    const unsigned char *user;
    bool powerUsers;
    unsigned long rights;
    unsigned what;
};

// The SIDs trusted with an install folder besides the installing user, each as its bytes:
// revision, count of subauthorities, the authority (6 bytes, big-endian), the subauthorities
// (4 bytes each, little-endian).
static const unsigned char kTrustedSids[] = {
    1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 2, 0, 0,      // Administrators S-1-5-32-544
    1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0,                     // SYSTEM S-1-5-18
    1, 6, 0, 0, 0, 0, 0, 5, 80, 0, 0, 0, 0xB5, 0x89, 0xFB, 0x38, 0x19, 0x84, 0xC2, 0xCB,  // TrustedInstaller
    0x5C, 0x6C, 0x23, 0x6D, 0x57, 0x00, 0x77, 0x6E, 0xC0, 0x02, 0x64, 0x87,  // S-1-5-80-956008885-...
    1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x23, 2, 0, 0,      // Power Users S-1-5-32-547, the last
};
enum { POWER_USERS_SID_SIZE = 16 };
static const unsigned char kCreatorOwnerSid[] = {1, 1, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0};  // S-1-3-0

static const unsigned char kClosedDescriptor[CLOSED_DESCRIPTOR_SIZE] = {
    1, 0, DACL_PRESENT, SELF_RELATIVE >> 8, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 36, 0, 0, 0,
    1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 2, 0, 0,                      // owner Administrators
    2, 0, 76, 0, 3, 0, 0, 0,                                                 // the DACL, 3 entries
    0, INHERITED_BY_SOME, 20, 0, 0xFF, 0x01, 0x1F, 0, 1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0,  // SYSTEM full
    0, INHERITED_BY_SOME, 24, 0, 0xFF, 0x01, 0x1F, 0,
    1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 2, 0, 0,                      // Administrators full
    0, INHERITED_BY_SOME, 24, 0, 0xA9, 0x00, 0x12, 0,
    1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x21, 2, 0, 0,                      // Users read and execute
};

void BuildClosedDescriptor(unsigned char *out, bool protect, bool inherited)
{
    for (int i = 0; i < CLOSED_DESCRIPTOR_SIZE; ++i)
        out[i] = kClosedDescriptor[i];
    if (!protect)
        return;
    if (!inherited) {
        out[3] |= DACL_PROTECTED >> 8;
        return;
    }
    out[3] |= DACL_AUTO_INHERITED >> 8;
    static const unsigned char kEntryFlags[] = {45, 65, 89};  // where each entry keeps its flags
    for (unsigned char at : kEntryFlags)
        out[at] |= INHERITED;
}

// A little-endian field, read byte by byte: the descriptor's fields need not be aligned.
static unsigned long Field(const unsigned char *at, int bytes)
{
    unsigned long value = 0;
    while (bytes-- > 0)
        value = value << 8 | at[bytes];
    return value;
}

static unsigned SidLength(const unsigned char *sid)
{
    return 8 + 4 * sid[1];
}

// `sid`, with `room` bytes left for it, is `known`.
static bool IsSid(const unsigned char *sid, unsigned long room, const unsigned char *known)
{
    unsigned length = SidLength(known);
    if (room < length)
        return false;
    for (unsigned i = 0; i < length; ++i)
        if (sid[i] != known[i])
            return false;
    return true;
}

const unsigned char *AdministratorsSid()
{
    return kTrustedSids;
}

bool IsAdministratorsSid(const unsigned char *sid)
{
    return IsSid(sid, SidLength(kTrustedSids), kTrustedSids);
}

static bool IsTrusted(const unsigned char *sid, unsigned long room, const Judging &judging)
{
    const unsigned char *end = kTrustedSids + sizeof kTrustedSids - (judging.powerUsers ? 0 : POWER_USERS_SID_SIZE);
    for (const unsigned char *known = kTrustedSids; known < end; known += SidLength(known))
        if (IsSid(sid, room, known))
            return true;
    return IsSid(sid, room, judging.user);
}

// The entry of `size` bytes lets someone other than the trusted use one of the judged rights.
// An inherit-only entry governs only what is made below, and nothing where it is inherited by
// nothing; an allowed kind whose SID does not follow the access mask directly counts as another's.
static bool LetsOthersChange(const unsigned char *entry, unsigned long size, const Judging &judging)
{
    unsigned type = entry[0];
    bool inheritOnly = (entry[1] & INHERIT_ONLY) != 0;
    bool governs = !inheritOnly || ((judging.what & JUDGE_INHERIT_ONLY) != 0 && (entry[1] & INHERITED_BY_SOME) != 0);
    if (type > 11 || (ALLOWED_TYPES >> type & 1) == 0 || !governs || (Field(entry + 4, 4) & judging.rights) == 0)
        return false;
    if (type != 0 && type != 9)
        return true;
    const unsigned char *sid = entry + 8;
    return !IsTrusted(sid, size - 8, judging) && !(inheritOnly && IsSid(sid, size - 8, kCreatorOwnerSid));
}

static unsigned OpenParts(const unsigned char *descriptor, unsigned size, const Judging &judging)
{
    if (size < 20 || descriptor[0] != 1)
        return OPEN_OWNER | OPEN_DACL;
    unsigned long control = Field(descriptor + 2, 2), owner = Field(descriptor + 4, 4);
    unsigned long dacl = Field(descriptor + 16, 4);
    if ((control & SELF_RELATIVE) == 0)
        return OPEN_OWNER | OPEN_DACL;
    if ((judging.what & JUDGE_OWNER) != 0
        && (owner == 0 || owner >= size || !IsTrusted(descriptor + owner, size - owner, judging)))
        return OPEN_OWNER | OPEN_DACL;
    if ((control & DACL_PRESENT) == 0 || dacl == 0 || dacl > size - 8)
        return OPEN_DACL;  // no DACL, or a NULL one: everyone may do anything
    const unsigned char *acl = descriptor + dacl;
    unsigned long aclSize = Field(acl + 2, 2);
    if (aclSize < 8 || aclSize > size - dacl)
        return OPEN_DACL;
    unsigned long at = 8;
    for (unsigned long count = Field(acl + 4, 2); count > 0; --count) {
        unsigned long entrySize = at + 8 <= aclSize ? Field(acl + at + 2, 2) : 0;
        if (entrySize < 8 || entrySize > aclSize - at || LetsOthersChange(acl + at, entrySize, judging))
            return OPEN_DACL;
        at += entrySize;
    }
    return 0;
}

unsigned PartsOpenToOthers(const unsigned char *descriptor, unsigned size, const unsigned char *user, bool powerUsers)
{
    return OpenParts(descriptor, size, {user, powerUsers, CHANGE_RIGHTS, JUDGE_OWNER | JUDGE_INHERIT_ONLY});
}

// What each place judges, in the order of the places: the rights that open it (an index into
// the rights below) and which of the owner, inherit-only entries and a reparse point count.
static const unsigned long kRights[] = {0, DELETE_CHILD, REPLACE_RIGHTS, CHANGE_RIGHTS};
static const unsigned char kPlaces[][2] = {
    {2, JUDGE_OWNER | JUDGE_REPARSE}, {0, JUDGE_REPARSE}, {1, 0},
    {3, JUDGE_OWNER | JUDGE_INHERIT_ONLY}, {0, 0}, {3, JUDGE_OWNER | JUDGE_INHERIT_ONLY},
};

bool LetsOthersReplace(unsigned long attributes, const unsigned char *descriptor, unsigned size,
                       const unsigned char *user, bool powerUsers, int place)
{
    Judging judging = {user, powerUsers, kRights[kPlaces[place][0]], kPlaces[place][1]};
    if ((judging.what & JUDGE_REPARSE) != 0 && (attributes & REPARSE_POINT) != 0)
        return true;
    return judging.rights != 0 && OpenParts(descriptor, size, judging) != 0;
}
