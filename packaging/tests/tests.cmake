# The packaging checks, included from packaging/CMakeLists.txt when the tests are built.
set(note_fields
    "name=${TSRL_EXECUTABLE_NAME}" "version=${TSRL_PRODUCT_VERSION}"
    "productName=${TSRL_PRODUCT_NAME}" "fileVersion=${TSRL_FILE_VERSION}"
    "productVersion=${TSRL_PRODUCT_VERSION}" "description=${TSRL_FILE_DESCRIPTION}"
    "language=${TSRL_LANGUAGE}")
set(deb_dir ${CMAKE_CURRENT_BINARY_DIR}/deb)

add_test(NAME packaging.desktop_file_valid COMMAND desktop-file-validate ${desktop_file})
add_test(NAME packaging.metainfo_valid
         COMMAND appstreamcli validate --no-net --strict --explain ${metainfo})
add_test(NAME packaging.generated
         COMMAND ${CMAKE_COMMAND} -D BUILD_DIR=${CMAKE_BINARY_DIR} -D SOURCE_DIR=${PROJECT_SOURCE_DIR}
                 -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/generated.cmake)
add_test(NAME packaging.version_note
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/version_note.sh
                 $<TARGET_FILE:tessoral> ${note_fields})
add_test(NAME packaging.deb
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/deb.sh
                 ${CMAKE_CPACK_COMMAND} ${CMAKE_BINARY_DIR}/CPackConfig.cmake ${deb_dir}
                 ${TSRL_EXECUTABLE_NAME} ${TSRL_PRODUCT_VERSION} ${TSRL_APP_ID} ${note_fields})
add_test(NAME packaging.lintian
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/lintian.sh ${deb_dir})
set_tests_properties(packaging.desktop_file_valid packaging.metainfo_valid packaging.generated
                     packaging.version_note packaging.deb packaging.lintian
                     PROPERTIES LABELS packaging)
# lintian checks the package the deb test packs; it is slow, so it starts early.
set_tests_properties(packaging.deb PROPERTIES FIXTURES_SETUP tsrl_deb COST 20)
set_tests_properties(packaging.lintian PROPERTIES FIXTURES_REQUIRED tsrl_deb SKIP_RETURN_CODE 77
                                                  COST 30)
