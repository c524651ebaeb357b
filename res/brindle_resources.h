// The program's resources: its dialog templates and strings, put in the
// platform layer's tables. Safe to call more than once.
#pragma once

void LoadBrindleResources();
