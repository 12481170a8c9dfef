// One setup of the product at a time on a machine: a deployment running as SYSTEM and a user's
// run see each other, whatever session each runs in.
#pragma once

// Takes the machine's mark of a running setup, held until the process ends; false when another
// setup holds it, also one of another account that this one may not even open.
bool TakeRunMutex();
// Brings the window of the setup that runs already to the front, for the user who started a second.
void BringOtherRunToFront();
