# Builds the probe and passes only when it fails for the reason it exists: QWidget is not
# reachable from the link library.
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target orvik_layer_probe
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(result EQUAL 0)
    message(FATAL_ERROR "the link library reaches the widget headers")
endif()
if(NOT "${out}${err}" MATCHES "QWidget: No such file")
    message(FATAL_ERROR "the probe failed for another reason:\n${out}${err}")
endif()
