# The line tool runs where there is no display: its binary needs neither Qt Gui nor Qt Widgets.
execute_process(COMMAND readelf -d ${CLI} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0 OR NOT out MATCHES "libQt6Core")
    message(FATAL_ERROR "cannot read the libraries of ${CLI}:\n${out}${err}")
endif()
if(out MATCHES "libQt6(Gui|Widgets)")
    string(REGEX MATCHALL "libQt6[A-Za-z]+" libs "${out}")
    message(FATAL_ERROR "orvik-cli links ${libs}")
endif()
