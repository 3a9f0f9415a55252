# Every subsystem folder under src/ is one static library of the files it holds,
# so adding a window or a parser never means touching the build files.
function(corvane_subsystem name)
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(corvane_${name} STATIC ${sources})
  target_include_directories(corvane_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(corvane_${name} PUBLIC ${ARGN})
endfunction()

# One GoogleTest binary per subsystem test folder, discovered by CTest when it runs.
function(corvane_tests name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(test_${name} ${sources})
  target_link_libraries(test_${name} PRIVATE ${ARGN} corvane_testsupport GTest::gtest Qt6::Test)
  gtest_discover_tests(test_${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_MEDIA_BACKEND=gstreamer"
    DISCOVERY_TIMEOUT 60)
endfunction()
