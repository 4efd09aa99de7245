# norvane_add_resources(SCRIPT <file.rc> OUTPUT <generated.cpp> SYMBOL <name>)
# Compiles a resource script into a C++ source that defines `const ResourceModuleData <name>`.
# The source is rebuilt when the script, a header it includes or a file it embeds changes
# (the compiler writes the list of files it read as a depfile).
function(norvane_add_resources)
    cmake_parse_arguments(R "" "SCRIPT;OUTPUT;SYMBOL" "" ${ARGN})
    add_custom_command(
        OUTPUT ${R_OUTPUT}
        COMMAND norvane-rc ${R_SCRIPT} -o ${R_OUTPUT} --symbol ${R_SYMBOL} --depfile ${R_OUTPUT}.d
        DEPENDS norvane-rc ${R_SCRIPT}
        DEPFILE ${R_OUTPUT}.d
        COMMENT "Compiling resources ${R_SCRIPT}"
        VERBATIM)
endfunction()
