# Fails when the core library calls into GL, GLU or GLUT: it must link and run without a
# display. Run as: cmake -DNM=<nm> -DLIBRARY=<libvantrell_core.a> -P nogl.cmake
execute_process(COMMAND ${NM} -u ${LIBRARY} OUTPUT_VARIABLE undefined RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${NM} -u ${LIBRARY} failed")
endif()
string(REGEX MATCHALL "U (gl|glu|glut)[A-Za-z0-9_]+" calls "${undefined}")
if(calls)
  list(REMOVE_DUPLICATES calls)
  message(FATAL_ERROR "The core library calls GL: ${calls}")
endif()
message("No GL, GLU or GLUT symbol in ${LIBRARY}")
