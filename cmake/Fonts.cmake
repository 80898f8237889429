# The free Debian faces the vector fonts are made from (packages fonts-liberation2 and
# fonts-dejavu-core): a sans for the default and built-in fonts, an italic face for the
# calligraphic one, and a plain sans for the generic "font.mvec".
set(TV_FONT_SANS "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"
    CACHE FILEPATH "TrueType face of the built-in, default and arial fonts")
set(TV_FONT_SCRIPT "/usr/share/fonts/truetype/liberation2/LiberationSerif-Italic.ttf"
    CACHE FILEPATH "TrueType face of the calligraphic font")
set(TV_FONT_PLAIN "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
    CACHE FILEPATH "TrueType face of font.mvec")
# Where the asset fonts are converted to, as the package will name them.
set(TV_FONT_ASSETS_DIR "${CMAKE_BINARY_DIR}/fontassets")

# The texts every font must be able to show: converting a font fails on a character of
# theirs that its face lacks.
set(TV_FONT_TEXTS "${CMAKE_SOURCE_DIR}/assets/strings.xml")

foreach(face TV_FONT_SANS TV_FONT_SCRIPT TV_FONT_PLAIN)
  if(NOT EXISTS "${${face}}")
    message(FATAL_ERROR "${face}: ${${face}} is missing (./build.sh installs fonts-liberation2 "
                        "and fonts-dejavu-core)")
  endif()
endforeach()
