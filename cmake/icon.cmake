# The program's icon in every form it takes, made from the one source file by a Python step that
# needs neither the program nor Qt: tsrl_make_icon(FORM OUTPUT), FORM one of ico, pngN for each
# size N the source draws, cpp, and header and wizard for the installer's pictures.
# Debian's own interpreter where there is one: the Windows packaging test needs its pefile.
find_program(TSRL_SYSTEM_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(TSRL_SYSTEM_PYTHON python3 REQUIRED)
set(TSRL_ICON_SOURCE ${PROJECT_SOURCE_DIR}/packaging/tessoral.xpm)
set(TSRL_ICON_TOOL ${PROJECT_SOURCE_DIR}/packaging/xpm_icon.py)

function(tsrl_make_icon form output)
    add_custom_command(OUTPUT ${output}
        COMMAND ${TSRL_SYSTEM_PYTHON} ${TSRL_ICON_TOOL} ${form} ${TSRL_ICON_SOURCE} ${output}
        DEPENDS ${TSRL_ICON_TOOL} ${TSRL_ICON_SOURCE}
        COMMENT "Making the ${form} icon from ${TSRL_ICON_SOURCE}")
endfunction()
