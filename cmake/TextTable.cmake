# The user texts live as data beside the code that uses them: texts*.tsv files per folder.
# They are merged into one generated source at build time; the generator refuses
# conflicting ids and rows missing a language.
function(varnak_text_files out_var)
    file(GLOB files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/*/texts*.tsv)
    list(SORT files)
    set(${out_var} ${files} PARENT_SCOPE)
endfunction()
