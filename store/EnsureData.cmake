# Called by the build: creates the data files of a new installation when the
# folder holds neither of them. A folder with one file but not the other is
# left alone and reported, so nobody's data is papered over.
set(main "${DIR}/Pelmar.mdb")
set(work "${DIR}/PelmarWork.mdb")
if(NOT EXISTS "${main}" AND NOT EXISTS "${work}")
    execute_process(COMMAND "${TOOL}" "${DIR}" RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "pelmar-newdata failed for ${DIR}")
    endif()
elseif(NOT EXISTS "${main}" OR NOT EXISTS "${work}")
    message(WARNING "${DIR} holds only one of Pelmar.mdb and PelmarWork.mdb; left as it is")
endif()
