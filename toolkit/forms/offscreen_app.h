// A Qt application on the offscreen platform, for programs that build and
// show forms with no display (the fuzz targets): made once, on first use,
// and kept for the life of the process.
#pragma once

namespace wt {

void EnsureOffscreenApplication();

} // namespace wt
