# Compiles the production-calendar years (calendar/production/ГГГГ.txt) into the program
# as texts, so that the files stay plain text a person reads and corrects. Adding a file
# reconfigures the build.
file(GLOB VELKO_PRODUCTION_YEARS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/production/*.txt)
set(_velko_years "")
foreach(_file IN LISTS VELKO_PRODUCTION_YEARS)
  get_filename_component(_year ${_file} NAME_WE)
  file(READ ${_file} _text)
  string(APPEND _velko_years "      {${_year}, R\"velko_year(${_text})velko_year\"},\n")
endforeach()
set(_velko_source "// Generated from calendar/production/*.txt by calendar/embed_production.cmake.
#include \"calendar/production_calendar.h\"

namespace velko {

std::vector<std::pair<int, std::string_view>> builtInProductionYears() {
  return {
${_velko_years}  };
}

}  // namespace velko
")
set(VELKO_PRODUCTION_SOURCE ${PROJECT_BINARY_DIR}/generated/production_years.cpp)
if(EXISTS ${VELKO_PRODUCTION_SOURCE})
  file(READ ${VELKO_PRODUCTION_SOURCE} _old)
endif()
if(NOT "${_old}" STREQUAL "${_velko_source}")
  file(WRITE ${VELKO_PRODUCTION_SOURCE} "${_velko_source}")
endif()
