#pragma once

// Kilobytes the product takes, each file rounded down on its own as the size display always has.
unsigned InstallSizeInKilobytes();
