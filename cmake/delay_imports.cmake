# Windows libraries a run may never need (the update check's and the change
# history's internet calls, the file dialog of the start-up list, the start
# sound, the compositor's answer when closing applications) are imported on
# their first call instead of with the program: each is loaded, with what it
# pulls in, only when a user does what needs it, so the start is quicker.
#
# zelvar_delay_import(<target> <dll> <function>...) makes a delay-import
# library for the named functions of <dll> with dlltool and links it to
# <target>. The helper that binds a function on its first call
# (__delayLoadHelper2) comes with the MinGW-w64 runtime.
find_program(ZELVAR_DLLTOOL NAMES ${TOOLCHAIN_PREFIX}-dlltool dlltool REQUIRED)

function(zelvar_delay_import target dll)
  set(dir ${CMAKE_BINARY_DIR}/delay_imports)
  set(def ${dir}/${dll}.def)
  set(lib ${dir}/lib${dll}_delay.a)
  list(JOIN ARGN "\n" exports)
  file(CONFIGURE OUTPUT ${def} CONTENT "LIBRARY ${dll}.dll\nEXPORTS\n${exports}\n")
  add_custom_command(OUTPUT ${lib}
    COMMAND ${ZELVAR_DLLTOOL} --input-def ${def} --output-delaylib ${lib} --dllname ${dll}.dll
    DEPENDS ${def}
    COMMENT "Delay-import library for ${dll}.dll")
  add_custom_target(zelvar_delay_${dll} DEPENDS ${lib})
  add_dependencies(${target} zelvar_delay_${dll})
  target_link_libraries(${target} PUBLIC ${lib})
endfunction()
