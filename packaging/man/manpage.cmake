# SPDX-License-Identifier: GPL-3.0-or-later
# Makes one installed manual page: the version filled in, break points for groff between Chinese
# characters (breaks.pl), compressed as Debian wants (gzip -9, no name or time stamp).
# cmake -DSOURCE=x.1 -DOUTPUT=x.1.gz -DVERSION=1.0.0 -DPERL=perl -DGZIP=gzip -P manpage.cmake
set(PROJECT_VERSION ${VERSION})
get_filename_component(name ${SOURCE} NAME)
set(configured ${OUTPUT}.configured)
configure_file(${SOURCE} ${configured} @ONLY)
get_filename_component(here ${CMAKE_SCRIPT_MODE_FILE} DIRECTORY)
execute_process(COMMAND ${PERL} ${here}/breaks.pl ${configured} OUTPUT_FILE ${OUTPUT}.roff
                RESULT_VARIABLE broken)
if(NOT broken EQUAL 0)
    message(FATAL_ERROR "breaks.pl failed on ${name}")
endif()
execute_process(COMMAND ${GZIP} -9 -n -c ${OUTPUT}.roff OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE zipped)
if(NOT zipped EQUAL 0)
    message(FATAL_ERROR "gzip failed on ${name}")
endif()
file(REMOVE ${configured})
