#ifndef BRUMWELD_UI_MAIN_RESOURCE_H
#define BRUMWELD_UI_MAIN_RESOURCE_H

// Identifiers shared by the resource script and the code of the main window;
// plain numbers only, so that the resource compiler reads this file too.

#define IDD_MAIN 101
#define IDI_MAIN 102

#define IDS_FRAME_RATES 1
#define IDS_SAMPLE_RATES 2
#define IDS_FRAME_SIZES 3
#define IDS_OUTPUT_FILTER 10

#define IDC_INPUT_FILE 1000
#define IDC_BROWSE_INPUT 1001
#define IDC_OUTPUT_FILE 1002
#define IDC_BROWSE_OUTPUT 1003
#define IDC_VIDEO_BITRATE 1004
#define IDC_VIDEO_MODE 1005
#define IDC_FRAME_RATE 1008
#define IDC_AUDIO_CHANNEL 1009
#define IDC_AUDIO_BITRATE 1010
#define IDC_COMP_QUALITY 1011
#define IDC_COMP_QUALITY_SPIN 1012
#define IDC_SAMPLE_RATE 1013
#define IDC_EXIT 1014
#define IDC_VIDEO_QUALITY 1015
#define IDC_VIDEO_QUALITY_SPIN 1016
#define IDC_RUN 1017
#define IDC_RESIZE 1018
#define IDC_FRAME_SIZE 1019
#define IDC_WAIT_FOR_KEY 1020
#define IDC_KEEP_BATCH 1021
#define IDC_PLAY_AFTER 1022
#define IDC_CHOOSE_PLAYER 1023

#endif
