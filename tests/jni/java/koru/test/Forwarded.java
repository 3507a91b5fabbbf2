package koru.test;

// A main class with the void form of secondaryMain; it keeps what each call was given.
public class Forwarded {
    public static String[] received;

    public static void main(String[] args) {
    }

    public static void secondaryMain(String[] args) {
        received = args;
    }
}
