# zeq_add_library(<target> <export name>)
# Declares one of the project's shared libraries: the zeq::<export name> alias, its export header
# (<target>_export.h) and the compile definitions every library target shares. The caller adds its
# sources, with the public headers in the default HEADERS file set, then calls zeq_install_library.
function(zeq_add_library target export_name)
    add_library(${target} SHARED)
    add_library(zeq::${export_name} ALIAS ${target})
    set_target_properties(${target} PROPERTIES
        EXPORT_NAME ${export_name}
        VERSION ${PROJECT_VERSION}
        SOVERSION ${PROJECT_VERSION_MAJOR})
    string(TOUPPER ${target} base_name)
    # <BASE>_TESTS_EXPORT marks symbols that only the tests link to: exported when tests are
    # built, hidden otherwise, so a release build does not grow an API nobody may use.
    if(BUILD_TESTING)
        set(tests_export "#define ${base_name}_TESTS_EXPORT ${base_name}_EXPORT")
    else()
        set(tests_export "#define ${base_name}_TESTS_EXPORT")
    endif()
    generate_export_header(${target} BASE_NAME ${base_name} CUSTOM_CONTENT_FROM_VARIABLE tests_export)
    target_sources(${target} PUBLIC FILE_SET export_header TYPE HEADERS
        BASE_DIRS ${CMAKE_CURRENT_BINARY_DIR}
        FILES ${CMAKE_CURRENT_BINARY_DIR}/${target}_export.h)
    # Release builds keep file, line and function in log messages only with QT_MESSAGELOGCONTEXT.
    target_compile_definitions(${target} PRIVATE QT_MESSAGELOGCONTEXT QT_NO_CAST_TO_ASCII QT_NO_FOREACH)
endfunction()

# zeq_install_library(<target> <header destination>): after all file sets exist.
function(zeq_install_library target header_destination)
    install(TARGETS ${target} EXPORT ZeqCommonCoreTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        FILE_SET HEADERS DESTINATION ${header_destination}
        FILE_SET export_header DESTINATION ${header_destination})
endfunction()
