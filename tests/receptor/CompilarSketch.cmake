# Builds the receiver's sketch for an Arduino Uno with Debian's AVR toolchain
# and Arduino core, the way the Arduino tools do: the core, the sketch as C++
# with Arduino.h first, the decoder; then links it and checks that it fits
# the board's flash and RAM. Run with -DFUENTE=<repo> -DDESTINO=<build dir>,
# and -DDEFINICION=NAME=VALUE for one more definition of a test build.
cmake_minimum_required(VERSION 3.25)

set(NUCLEO /usr/share/arduino/hardware/arduino/avr)
find_program(AVR_GCC avr-gcc)
find_program(AVR_GXX avr-g++)
find_program(AVR_SIZE avr-size)
if(NOT AVR_GCC OR NOT AVR_GXX OR NOT AVR_SIZE OR NOT EXISTS ${NUCLEO}/cores/arduino/Arduino.h)
    message(FATAL_ERROR "Faltan gcc-avr, avr-libc o arduino-core-avr: ejecute scripts/install-deps.sh")
endif()

set(SKETCH ${FUENTE}/firmware/gedanko_receptor)
file(REMOVE_RECURSE ${DESTINO})
file(MAKE_DIRECTORY ${DESTINO})
set(COMUNES -mmcu=atmega328p -DF_CPU=16000000L -DARDUINO=10819 -DARDUINO_AVR_UNO -DARDUINO_ARCH_AVR
    -Os -ffunction-sections -fdata-sections -Wall -Wextra -Werror
    -I${NUCLEO}/cores/arduino -I${NUCLEO}/variants/standard -I${SKETCH})
set(CXXFLAGS -std=gnu++11 -fpermissive -fno-exceptions -fno-threadsafe-statics)

function(compilar fuente objeto lenguaje estricto)
    if(lenguaje STREQUAL "c")
        set(orden ${AVR_GCC} -std=gnu11)
    elseif(lenguaje STREQUAL "asm")
        set(orden ${AVR_GCC} -x assembler-with-cpp)
    else()
        set(orden ${AVR_GXX} ${CXXFLAGS})
    endif()
    set(banderas ${COMUNES})
    if(NOT estricto)
        # The Arduino core is not ours: its own warnings are not errors here.
        # Debian's core expects DECIMAL_DIG, which gcc-avr 5's float.h keeps
        # from C++; the compiler's own value stands in.
        list(REMOVE_ITEM banderas -Wall -Wextra -Werror)
        list(APPEND banderas -DDECIMAL_DIG=__DECIMAL_DIG__)
    endif()
    execute_process(COMMAND ${orden} ${banderas} ${ARGN} -c ${fuente} -o ${objeto}
        RESULT_VARIABLE resultado ERROR_VARIABLE errores)
    if(NOT resultado EQUAL 0)
        message(FATAL_ERROR "No compila ${fuente}:\n${errores}")
    endif()
endfunction()

set(objetos)
file(GLOB nucleo_c ${NUCLEO}/cores/arduino/*.c)
file(GLOB nucleo_cpp ${NUCLEO}/cores/arduino/*.cpp)
file(GLOB nucleo_s ${NUCLEO}/cores/arduino/*.S)
foreach(lenguaje c cpp s)
    foreach(fuente IN LISTS nucleo_${lenguaje})
        get_filename_component(nombre ${fuente} NAME)
        set(tipo ${lenguaje})
        if(lenguaje STREQUAL "s")
            set(tipo asm)
        endif()
        compilar(${fuente} ${DESTINO}/nucleo_${nombre}.o ${tipo} FALSE)
        list(APPEND objetos ${DESTINO}/nucleo_${nombre}.o)
    endforeach()
endforeach()

set(definicion)
if(DEFINED DEFINICION)
    set(definicion -D${DEFINICION})
endif()
compilar(${SKETCH}/gedanko_receptor.ino ${DESTINO}/sketch.o cpp TRUE -x c++ -include Arduino.h ${definicion})
compilar(${SKETCH}/Receptor.cpp ${DESTINO}/Receptor.o cpp TRUE)
execute_process(COMMAND ${AVR_GCC} -mmcu=atmega328p -Os -Wl,--gc-sections -o ${DESTINO}/receptor.elf
        ${DESTINO}/sketch.o ${DESTINO}/Receptor.o ${objetos} -lm
    RESULT_VARIABLE resultado ERROR_VARIABLE errores)
if(NOT resultado EQUAL 0)
    message(FATAL_ERROR "No enlaza el sketch:\n${errores}")
endif()

# The Uno has 32,256 bytes of flash for the sketch (the rest holds the boot
# loader) and 2,048 bytes of RAM, of which 512 are left for the stack.
execute_process(COMMAND ${AVR_SIZE} -A ${DESTINO}/receptor.elf OUTPUT_VARIABLE tamanos)
string(REGEX MATCH "\\.text +([0-9]+)" _ "${tamanos}")
set(texto ${CMAKE_MATCH_1})
string(REGEX MATCH "\\.data +([0-9]+)" _ "${tamanos}")
set(datos ${CMAKE_MATCH_1})
string(REGEX MATCH "\\.bss +([0-9]+)" _ "${tamanos}")
set(bss ${CMAKE_MATCH_1})
math(EXPR flash "${texto} + ${datos}")
math(EXPR ram "${datos} + ${bss}")
message(STATUS "Arduino Uno: ${flash} bytes de flash, ${ram} bytes de RAM")
if(flash GREATER 32256 OR ram GREATER 1536)
    message(FATAL_ERROR "El sketch no cabe en un Arduino Uno (flash ${flash}, RAM ${ram})")
endif()
