# Installs into a fresh prefix and checks that the installed `velquin` starts the viewer proper,
# and that without it the launcher says so instead of failing silently.
# Usage: cmake -DBUILD_DIR=<build> -DPREFIX=<dir> -P InstalledLauncherTest.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed with ${status}")
endif()
file(GLOB viewer ${PREFIX}/*/velquin/velquin-viewer)
if(NOT viewer)
    message(FATAL_ERROR "the viewer proper is not installed under ${PREFIX}/*/velquin/")
endif()
# The viewer loads its sound module from its own folder.
get_filename_component(viewer_dir ${viewer} DIRECTORY)
if(NOT EXISTS ${viewer_dir}/velquin-sound.so)
    message(FATAL_ERROR "the sound module is not installed beside the viewer in ${viewer_dir}")
endif()

# Without a display the viewer gives up at once; loading the toolkit shows that it started.
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                        LD_DEBUG=libs ${PREFIX}/bin/velquin none.cnf
                OUTPUT_QUIET ERROR_VARIABLE output TIMEOUT 60)
if(output MATCHES "cannot start the viewer" OR NOT output MATCHES "libwx_")
    message(FATAL_ERROR "the installed velquin did not start the viewer:\n${output}")
endif()

file(REMOVE ${viewer})
execute_process(COMMAND ${PREFIX}/bin/velquin none.cnf
                ERROR_VARIABLE output RESULT_VARIABLE status TIMEOUT 60)
if(NOT status EQUAL 127 OR NOT output MATCHES "cannot start the viewer.*velquin-viewer")
    message(FATAL_ERROR "without the viewer: status ${status}, message:\n${output}")
endif()
