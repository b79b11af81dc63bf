# The version resource's Build entry holds the date and time of the build, so a
# header with the stamp is written anew by every build.
function(marivex_version_resource target rc_file)
  set(stamp_dir ${CMAKE_BINARY_DIR}/generated)
  set(stamp_header ${stamp_dir}/build_stamp.h)
  add_custom_target(${target}_build_stamp
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${stamp_header} -P ${PROJECT_SOURCE_DIR}/cmake/WriteBuildStamp.cmake
    BYPRODUCTS ${stamp_header}
    COMMENT "Stamping the build date into the version resource"
    VERBATIM)
  target_sources(${target} PRIVATE ${rc_file})
  set_source_files_properties(${rc_file} PROPERTIES OBJECT_DEPENDS ${stamp_header})
  target_include_directories(${target} PRIVATE ${stamp_dir})
  target_link_libraries(${target} PRIVATE marivex_version)
  add_dependencies(${target} ${target}_build_stamp)
endfunction()
