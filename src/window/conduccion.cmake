# The drive decision: a plain class, built apart from the window so that it is
# tested without one.
include_guard(GLOBAL)
add_library(gedanko_conduccion STATIC ${CMAKE_CURRENT_LIST_DIR}/EstadoConduccion.cpp)
set_target_properties(gedanko_conduccion PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
target_include_directories(gedanko_conduccion PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(gedanko_conduccion PUBLIC gedanko_casco)
