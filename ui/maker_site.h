// The maker's web site. The host is the build's MAKER_HOST (a CMake cache
// variable), so a distributor can build with the real one; the title, the
// promotional caption and the three web addresses all take it from here.
#pragma once

#ifndef MAKER_HOST
#error "MAKER_HOST must be defined by the build"
#endif

#define MAKER_SITE "http://" MAKER_HOST
