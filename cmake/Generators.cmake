# Build-time generators live in tools/ and run on the build machine. A native
# tree builds them itself; a cross tree takes them from HOST_TOOLS_DIR.
set(GENERATED_FILES "")
set(CROSS_TOOLS OFF)
if(WIN32)
  set(CROSS_TOOLS ON)
endif()

if(NOT CROSS_TOOLS)
  foreach(src ${TOOL_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
  endforeach()
endif()

# dove_tool(<name> <var>): the command that runs generator <name>.
function(dove_tool name var)
  if(CROSS_TOOLS)
    set(${var} ${HOST_TOOLS_DIR}/${name} PARENT_SCOPE)
  else()
    set(${var} $<TARGET_FILE:${name}> PARENT_SCOPE)
  endif()
endfunction()

set(ERROR_TEXT_LIST ${CMAKE_SOURCE_DIR}/src/resources/error_texts.txt)
if(EXISTS ${CMAKE_SOURCE_DIR}/tools/gen_error_texts.cpp AND EXISTS ${ERROR_TEXT_LIST})
  dove_tool(gen_error_texts GEN_ERROR_TEXTS)
  set(deps ${ERROR_TEXT_LIST})
  if(NOT CROSS_TOOLS)
    list(APPEND deps gen_error_texts)
  endif()
  add_custom_command(
    OUTPUT ${GEN_DIR}/error_texts.rc ${GEN_DIR}/error_texts_table.inc
    COMMAND ${GEN_ERROR_TEXTS} ${ERROR_TEXT_LIST} ${GEN_DIR}/error_texts.rc ${GEN_DIR}/error_texts_table.inc
    DEPENDS ${deps}
    COMMENT "Generating error texts")
  list(APPEND GENERATED_FILES ${GEN_DIR}/error_texts.rc ${GEN_DIR}/error_texts_table.inc)
endif()

# Stored window definitions: src/resources/NAME.wdef gives NAME.dabdump, the
# block that DOVE60.rc embeds as type "DABDUMP".
file(GLOB WINDOW_DEF_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/resources/*.wdef)
if(EXISTS ${CMAKE_SOURCE_DIR}/tools/gen_window_defs.cpp)
  dove_tool(gen_window_defs GEN_WINDOW_DEFS)
  foreach(wdef ${WINDOW_DEF_SOURCES})
    get_filename_component(name ${wdef} NAME_WE)
    set(deps ${wdef})
    if(NOT CROSS_TOOLS)
      list(APPEND deps gen_window_defs)
    endif()
    add_custom_command(
      OUTPUT ${GEN_DIR}/${name}.dabdump
      COMMAND ${GEN_WINDOW_DEFS} ${wdef} ${GEN_DIR}/${name}.dabdump
      DEPENDS ${deps}
      COMMENT "Generating window definitions ${name}")
    list(APPEND GENERATED_FILES ${GEN_DIR}/${name}.dabdump)
  endforeach()
endif()

if(EXISTS ${CMAKE_SOURCE_DIR}/tools/gen_icons.cpp)
  dove_tool(gen_icons GEN_ICONS)
  set(deps)
  if(NOT CROSS_TOOLS)
    set(deps gen_icons)
  endif()
  set(icon_files ${GEN_DIR}/ZERU.ico ${GEN_DIR}/next.ico ${GEN_DIR}/back.ico)
  add_custom_command(OUTPUT ${icon_files} COMMAND ${GEN_ICONS} ${GEN_DIR}
    DEPENDS ${deps} COMMENT "Drawing the icons")
  list(APPEND GENERATED_FILES ${icon_files})
endif()

add_custom_target(generated_sources DEPENDS ${GENERATED_FILES})
