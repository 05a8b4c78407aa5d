# Writes OUT, a C++ file that defines the built-in Windows measurement files
# TRACKPAD and MOUSE as string constants. Run with cmake -P at build time.
set(delimiter "quillon_json")

function(embed var path out)
  file(READ ${path} content)
  string(FIND "${content}" ")${delimiter}\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${path} contains the raw string delimiter ${delimiter}")
  endif()
  set(${out} "const std::string_view ${var} = R\"${delimiter}(${content})${delimiter}\";\n"
    PARENT_SCOPE)
endfunction()

embed(builtinTrackpadCurve ${TRACKPAD} trackpad)
embed(builtinMouseCurve ${MOUSE} mouse)

set(text "// Generated from helper/data by embed_builtin.cmake. Do not edit.\n")
string(APPEND text "#include \"helper/builtin_curves.h\"\n\nnamespace quillon {\n\n")
string(APPEND text "${trackpad}\n${mouse}\n}  // namespace quillon\n")

file(WRITE ${OUT} "${text}")
