#pragma once

// The directory SELECT proposes and a silent run installs into: the one the command line names
// (/D=), else the earlier copy's where one is known and still there, else the product's folder in
// the system's program folder. `proposal` holds TNP_TEXT_CAPACITY characters.
void ProposeInstallDirectory(char *proposal);
