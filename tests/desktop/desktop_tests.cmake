# The desktop shell tests: the real executable, one at a time (they share the
# single-instance marker of the user). An exit status of 77 means skipped.
if(TARGET fingulp AND TARGET fingulp-sim)
  set(desktop_dir ${CMAKE_CURRENT_SOURCE_DIR}/desktop)
  foreach(name menu_exit readonly_folder single_instance under_x_server)
    add_test(NAME desktop.${name}
      COMMAND bash ${desktop_dir}/${name}.sh $<TARGET_FILE:fingulp> $<TARGET_FILE:fingulp-sim> $<TARGET_FILE:test_desktop>)
    set_tests_properties(desktop.${name} PROPERTIES
      LABELS desktop RESOURCE_LOCK fingulp_instance SKIP_RETURN_CODE 77 TIMEOUT 180)
  endforeach()
  add_test(NAME desktop.install COMMAND bash ${desktop_dir}/install.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(desktop.install PROPERTIES LABELS desktop)
endif()
