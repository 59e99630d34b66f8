#pragma once

// The handler of the query button: writes the row of the formation table that
// matches the kind selector 种类 and the level selector 等级 into the result
// labels 元素1 (troops), 元素2 (enemy formation) and 元素3 (best formation).
// Nothing matches: nothing changes.
void queryFormation();
