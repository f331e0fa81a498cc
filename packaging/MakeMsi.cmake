# Runs wixl for packaging/Installer.wxs, with the size of the shipped files (in KB, as Add/Remove
# Programs counts) known only once they are staged.
# cmake -DWIXL=... -DARCH=x86|x64 -DSTAGE=<folder> -DOUTPUT=<file.msi> -DWXS=<file> -DDEFINITIONS=<Name=value;...> -P MakeMsi.cmake
# Run in the folder the paths in DEFINITIONS are relative to.
file(GLOB shipped LIST_DIRECTORIES false ${STAGE}/*)
set(bytes 0)
foreach(file IN LISTS shipped)
    file(SIZE ${file} size)
    math(EXPR bytes "${bytes} + ${size}")
endforeach()
math(EXPR kilobytes "(${bytes} + 1023) / 1024")
set(arguments)
foreach(definition IN LISTS DEFINITIONS)
    list(APPEND arguments -D ${definition})
endforeach()
execute_process(COMMAND ${WIXL} --arch ${ARCH} ${arguments} -D Size=${kilobytes} -o ${OUTPUT} ${WXS}
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    file(REMOVE ${OUTPUT})
    message(FATAL_ERROR "wixl failed (${status}) making ${OUTPUT}")
endif()
