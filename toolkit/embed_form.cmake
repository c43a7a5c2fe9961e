# Turns one form description into a header holding its text, so that the
# library carries the form without resource files:
#   cmake -DIN=oops.wfm -DOUT=oops_wfm.h -DNAME=oops -DSOURCE=dialogs/oops.wfm -P embed_form.cmake
file(READ "${IN}" text)
string(FIND "${text}" ")wtform\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "${IN}: the text must not contain )wtform\"")
endif()
file(WRITE "${OUT}.tmp"
"// Generated from ${SOURCE}; edit that file, not this one.
#pragma once

namespace wt::forms {
inline constexpr char ${NAME}[] = R\"wtform(${text})wtform\";
inline constexpr char ${NAME}File[] = \"${SOURCE}\";
} // namespace wt::forms
")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
