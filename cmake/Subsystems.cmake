# What every subsystem builds against: Qt, SQLite and threads.
add_library(corvane_dependencies INTERFACE)
target_include_directories(corvane_dependencies INTERFACE ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(corvane_dependencies INTERFACE Qt6::Widgets Qt6::Network Qt6::SerialPort Qt6::Multimedia
                      SQLite::SQLite3 Threads::Threads)

# Every subsystem folder under src/ is one object library of the files it holds, so adding a
# window or a parser never means touching the build files. The program and every test binary
# link all of them whole: where a procedure is defined never decides whether it links, and a
# procedure defined twice is a link error.
function(corvane_subsystem name)
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(corvane_${name} OBJECT ${sources})
  target_link_libraries(corvane_${name} PUBLIC corvane_dependencies)
  set_property(GLOBAL APPEND PROPERTY CORVANE_SUBSYSTEMS corvane_${name})
endfunction()

# Links the whole program, every subsystem, into a target.
function(corvane_link_program target)
  get_property(subsystems GLOBAL PROPERTY CORVANE_SUBSYSTEMS)
  target_link_libraries(${target} PRIVATE ${subsystems})
endfunction()

# One GoogleTest binary per subsystem test folder, discovered by CTest when it runs.
function(corvane_tests name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(test_${name} ${sources})
  corvane_link_program(test_${name})
  target_link_libraries(test_${name} PRIVATE ${ARGN} corvane_testsupport GTest::gtest Qt6::Test)
  target_compile_definitions(test_${name} PRIVATE CORVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(test_${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_MEDIA_BACKEND=gstreamer" TIMEOUT 180
    DISCOVERY_TIMEOUT 60)
endfunction()
