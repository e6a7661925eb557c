# Installs the build in BUILD into a scratch prefix, then configures, builds
# and runs the project in SOURCE against it. Run with cmake -P.
set(work ${BUILD}/consumer-test)
file(REMOVE_RECURSE ${work})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${work}/prefix
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${work}/build
                -DCMAKE_PREFIX_PATH=${work}/prefix -DCMAKE_CXX_COMPILER=${CXX}
                -DCMAKE_EXE_LINKER_FLAGS=${LINK_FLAGS}
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${work}/build OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${work}/build/consumer COMMAND_ERROR_IS_FATAL ANY)
