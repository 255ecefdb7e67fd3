# tmv_add_game(target [PACK] [ASSETS file...]): puts the runtime's default fonts and the game's own
# files beside the game after each build, or with PACK appends them to the game's file with the packer,
# where the runtime finds them just as well.
function(tmv_add_game target)
    cmake_parse_arguments(ARG "PACK" "" "ASSETS" ${ARGN})
    set(assets ${TMV_DEFAULT_ASSETS})
    foreach(asset ${ARG_ASSETS})
        cmake_path(ABSOLUTE_PATH asset BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
        list(APPEND assets ${asset})
    endforeach()
    if(TARGET tmv_font_images)
        add_dependencies(${target} tmv_font_images)
    endif()
    if(ARG_PACK)
        add_custom_command(TARGET ${target} POST_BUILD
            COMMAND TMV::sbx_pack $<TARGET_FILE:${target}> ${assets}
            COMMENT "Packing the assets into ${target}" VERBATIM)
    else()
        add_custom_command(TARGET ${target} POST_BUILD
            COMMAND ${CMAKE_COMMAND} -E copy_if_different ${assets} $<TARGET_FILE_DIR:${target}>
            VERBATIM)
    endif()
endfunction()
