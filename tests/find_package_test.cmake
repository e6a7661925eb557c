# Installs the build in BUILD into a scratch prefix, then configures, builds
# and runs the project in SOURCE against it. Run with cmake -P.
set(work ${BUILD}/consumer-test)
file(REMOVE_RECURSE ${work})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${work}/prefix
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
# A cross build hands its toolchain on, and runs the result through its
# emulator (Wine for Windows).
set(options "")
if(TOOLCHAIN)
  list(APPEND options -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN})
endif()
if(LINK_FLAGS)
  list(APPEND options -DCMAKE_EXE_LINKER_FLAGS=${LINK_FLAGS})
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${work}/build ${options}
                -DCMAKE_PREFIX_PATH=${work}/prefix -DCMAKE_CXX_COMPILER=${CXX}
                -DVornette_DIR=${work}/prefix/lib/cmake/Vornette
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${work}/build OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
file(GLOB consumer ${work}/build/consumer*)
execute_process(COMMAND ${EMULATOR} ${consumer} COMMAND_ERROR_IS_FATAL ANY)
