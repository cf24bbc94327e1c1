#pragma once
// The marks in front of the start page's requirement lines: a white tick on a green disc
// for what is met, a white cross on a red disc for what is not, and a white "i" on a blue
// disc for a state that is in order but waits for something (a reader).
#include "ui/imagelist.h"

enum TRequirementMark { rmMet = 0, rmNotMet = 1, rmAwaiting = 2 };

// Draws the marks at the list's size and adds them in the order of TRequirementMark.
void AddRequirementMarks(TImageList& list);
