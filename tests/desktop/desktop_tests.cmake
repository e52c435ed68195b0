# The desktop test executable, fingulp-desktop-test: the program and the SDL
# back end as a player runs them, plus the test hook (input scripts in the
# headless runner's language, pushed where SDL's events enter, and the
# presentation figures). Nothing of it goes into fingulp.
add_library(fingulp_desktop_hook OBJECT ${CMAKE_CURRENT_SOURCE_DIR}/desktop/hook/script_input.cpp
                                        ${CMAKE_CURRENT_SOURCE_DIR}/desktop/hook/present_figures.cpp)
target_link_libraries(fingulp_desktop_hook PUBLIC fingulp_platform fingulp_script SDL2::SDL2)
target_include_directories(fingulp_desktop_hook PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/desktop)
# The presentation figures are counted around the back end's calls to SDL.
target_link_options(fingulp_desktop_hook INTERFACE
  "LINKER:--wrap=SDL_UpdateTexture" "LINKER:--wrap=SDL_RenderPresent" "LINKER:--wrap=SDL_RaiseWindow")
target_compile_options(fingulp_desktop_hook PRIVATE ${FINGULP_WARNINGS})
add_executable(fingulp-desktop-test ${CMAKE_CURRENT_SOURCE_DIR}/desktop/hook/main.cpp)
target_link_libraries(fingulp-desktop-test PRIVATE fingulp_program fingulp_sdl fingulp_desktop_hook)
target_compile_options(fingulp-desktop-test PRIVATE ${FINGULP_WARNINGS})

# The desktop shell tests: the real executable and the test executable, one at
# a time (they measure times and start X servers). An exit status of 77 means skipped.
set(desktop_dir ${CMAKE_CURRENT_SOURCE_DIR}/desktop)
foreach(name command_line end_signals hostile_marker hostile_replay isolation keys menu_exit readonly_folder replays
             single_instance under_x_server window_manager)
  add_test(NAME desktop.${name}
    COMMAND bash ${desktop_dir}/${name}.sh $<TARGET_FILE:fingulp> $<TARGET_FILE:fingulp-desktop-test>
            $<TARGET_FILE:fingulp-sim> $<TARGET_FILE:test_desktop> $<TARGET_FILE:fingulp_hostile_replay>)
  set_tests_properties(desktop.${name} PROPERTIES
    LABELS desktop RESOURCE_LOCK fingulp_instance SKIP_RETURN_CODE 77 TIMEOUT 180)
endforeach()
add_test(NAME desktop.install COMMAND bash ${desktop_dir}/install.sh ${CMAKE_BINARY_DIR})
set_tests_properties(desktop.install PROPERTIES LABELS desktop)
